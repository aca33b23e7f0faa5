#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/registry_settings.h"
#include "platform/system_settings.h"
#include "platform/windows_text.h"

namespace brennix {

namespace {

struct ValuePath {
    std::wstring key;
    std::wstring name;
};

// "Section/Name" below the store's key.
ValuePath PathOf(const std::string& storeKey, std::string_view setting) {
    const size_t slash = setting.rfind('/');
    std::string key = storeKey;
    if (slash != std::string_view::npos) {
        key += "\\" + std::string(setting.substr(0, slash));
        setting.remove_prefix(slash + 1);
    }
    return {WideText(key), WideText(setting)};
}

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

std::optional<StoredValue> ReadValue(const ValuePath& path) {
    constexpr DWORD kKinds = RRF_RT_REG_DWORD | RRF_RT_REG_SZ;
    StoredValue value;
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, path.key.c_str(), path.name.c_str(), kKinds, &value.type,
                       nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    if (::RegGetValueW(HKEY_CURRENT_USER, path.key.c_str(), path.name.c_str(), kKinds, &value.type,
                       value.data.data(), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

std::optional<int> NumberOf(const StoredValue& value) {
    if (value.type != REG_DWORD || value.data.size() != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD number = 0;
    std::memcpy(&number, value.data.data(), sizeof number);
    return static_cast<int>(number);
}

std::wstring TextOf(const StoredValue& value) {
    // The stored size counts the closing null.
    std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()),
                      value.data.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return text;
}

void WriteValue(const ValuePath& path, DWORD type, const void* data, size_t size) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, path.key.c_str(), path.name.c_str(), type, data,
                      static_cast<DWORD>(size));
}

}  // namespace

RegistrySettings::RegistrySettings(std::string key) : key_(std::move(key)) {}

int RegistrySettings::Read(const IntSetting& setting) const {
    const std::optional<StoredValue> value = ReadValue(PathOf(key_, setting.key));
    if (!value) {
        return setting.fallback;
    }
    if (const std::optional<int> number = NumberOf(*value)) {
        return *number;
    }
    const std::wstring text = TextOf(*value);
    wchar_t* end = nullptr;
    const long number = std::wcstol(text.c_str(), &end, 10);
    return !text.empty() && *end == L'\0' ? static_cast<int>(number) : setting.fallback;
}

std::string RegistrySettings::Read(const TextSetting& setting) const {
    const std::optional<StoredValue> value = ReadValue(PathOf(key_, setting.key));
    if (!value) {
        return std::string(setting.fallback);
    }
    if (const std::optional<int> number = NumberOf(*value)) {
        return std::to_string(*number);
    }
    return NarrowText(TextOf(*value));
}

bool RegistrySettings::Contains(std::string_view key) const {
    return ReadValue(PathOf(key_, key)).has_value();
}

void RegistrySettings::Write(const IntSetting& setting, int value) {
    const DWORD number = static_cast<DWORD>(value);
    WriteValue(PathOf(key_, setting.key), REG_DWORD, &number, sizeof number);
}

void RegistrySettings::Write(const TextSetting& setting, const std::string& value) {
    const std::wstring text = WideText(value);
    WriteValue(PathOf(key_, setting.key), REG_SZ, text.c_str(),
               (text.size() + 1) * sizeof(wchar_t));
}

std::unique_ptr<Settings> MakeSystemSettings() {
    return std::make_unique<RegistrySettings>("Software\\" + std::string(settings::kOrganisation) +
                                              "\\" + std::string(settings::kApplication));
}

}  // namespace brennix
