#include "platform/port_list.h"

#include <windows.h>

// Defines the class GUID here rather than taking it from a library.
#include <initguid.h>

#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cwchar>
#include <map>
#include <utility>

#include "platform/com_port_name.h"
#include "platform/windows_text.h"

namespace brennix {

namespace {

// Registry strings here are port names and device descriptions: short.
using ValueText = std::array<wchar_t, 256>;

std::wstring Terminated(const ValueText& text, DWORD bytes) {
    return std::wstring(text.data(), ::wcsnlen(text.data(), bytes / sizeof(wchar_t)));
}

// A registry string value; empty when it is missing or no string.
std::wstring ReadString(HKEY key, const wchar_t* name) {
    ValueText text{};
    DWORD type = 0;
    DWORD bytes = sizeof text;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                           &bytes) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return {};
    }
    return Terminated(text, bytes);
}

// The COM names the port drivers have registered: the data of each value of SERIALCOMM.
std::vector<std::string> RegisteredPorts() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD index = 0;; ++index) {
        ValueText valueName{};
        DWORD nameLength = static_cast<DWORD>(valueName.size());
        ValueText data{};
        DWORD type = 0;
        DWORD bytes = sizeof data;
        const LSTATUS status = ::RegEnumValueW(key, index, valueName.data(), &nameLength, nullptr,
                                               &type, reinterpret_cast<BYTE*>(data.data()), &bytes);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (status == ERROR_SUCCESS && type == REG_SZ) {
            names.push_back(NarrowText(Terminated(data, bytes)));
        }
    }
    ::RegCloseKey(key);
    return names;
}

std::wstring PortNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    const HKEY key =
        ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::wstring name = ReadString(key, L"PortName");
    ::RegCloseKey(key);
    return name;
}

std::wstring FriendlyNameOf(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    ValueText text{};
    DWORD bytes = 0;
    if (!::SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                             reinterpret_cast<BYTE*>(text.data()), sizeof text,
                                             &bytes)) {
        return {};
    }
    return Terminated(text, bytes);
}

// The friendly name of each port device present ("USB Serial Port (COM3)"), by its COM name.
std::map<std::string, std::string> FriendlyNames() {
    std::map<std::string, std::string> names;
    const HDEVINFO devices =
        ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) {
        return names;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        const std::wstring port = PortNameOf(devices, device);
        if (!port.empty()) {
            names[NarrowText(port)] = NarrowText(FriendlyNameOf(devices, device));
        }
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return names;
}

// The friendly name says the COM name again at its end, which the list shows beside it anyway.
std::string Description(const std::string& friendly, const std::string& name) {
    const std::string repeated = " (" + name + ")";
    return friendly.ends_with(repeated) ? friendly.substr(0, friendly.size() - repeated.size())
                                        : friendly;
}

// COM2 before COM10; a port of another name after them all.
bool ListedBefore(const PortInfo& one, const PortInfo& other) {
    return std::pair(ComPortNumber(one.name).value_or(UINT_MAX), one.name) <
           std::pair(ComPortNumber(other.name).value_or(UINT_MAX), other.name);
}

}  // namespace

std::vector<PortInfo> ListSerialPorts() {
    const std::map<std::string, std::string> friendly = FriendlyNames();
    std::vector<PortInfo> ports;
    for (const std::string& name : RegisteredPorts()) {
        const auto found = friendly.find(name);
        ports.push_back({name, found == friendly.end() ? "" : Description(found->second, name)});
    }
    std::sort(ports.begin(), ports.end(), ListedBefore);
    return ports;
}

}  // namespace brennix
