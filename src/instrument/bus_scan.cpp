#include "instrument/bus_scan.h"

#include "link/rs485_address.h"

namespace brennix {

std::string BusScanOutcome(const BusScanEntry& entry) {
    if (IsInstrument(entry.code)) {
        return InstrumentCodeName(entry.code);
    }
    if (entry.silent) {
        return "silent";
    }
    return entry.code == kSystemIsInSDI12Mode ? "SDI-12 mode" : "answered, not identified";
}

std::string BusScanLimits(const PortCapabilities& port) {
    if (port.sendBreak) {
        return {};
    }
    return port.limits +
           ": an instrument asleep on the bus cannot be woken and is listed as silent";
}

std::optional<AddressRange> ParseAddressRange(std::string_view text) {
    const size_t dash = text.find('-');
    const std::optional<uint32_t> first = ParseRs485Address(text.substr(0, dash));
    const std::optional<uint32_t> last =
        dash == std::string_view::npos ? first : ParseRs485Address(text.substr(dash + 1));
    if (!first || !last || *first == 0 || *first > *last) {
        return std::nullopt;
    }
    return AddressRange{*first, *last};
}

CBusScan::CBusScan(CSerialLink& link) : link_(link), instrument_(link.GetClock(), quiet_) {
    instrument_.SetLink(&link);
}

BusScanEntry CBusScan::Probe(uint32_t address) {
    BusScanEntry entry;
    entry.address = address;
    instrument_.SetRs485Address(address);
    const uint64_t before = link_.BytesReceived();
    entry.code = instrument_.FindInstrument(true, false);
    entry.silent = !IsInstrument(entry.code) && link_.BytesReceived() == before;
    entry.versionLine = instrument_.LastVersionLine();
    return entry;
}

void CBusScan::SelectNone() {
    instrument_.SelectNoAddress();
}

}  // namespace brennix
