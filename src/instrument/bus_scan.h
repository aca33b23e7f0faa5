#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "instrument/instrument.h"
#include "instrument/instrument_codes.h"
#include "link/serial_link.h"
#include "platform/ui_host.h"

namespace brennix {

// What one address of an RS-485 bus answered to the wake-up and the identification.
struct BusScanEntry {
    uint32_t address = 0;
    int code = kFailToWakeUp;  // what FindInstrument returned: a model (2 and above) or a failure
    bool silent = true;        // nothing at all came back
    std::string versionLine;   // the first line of the answer to "Ver"
};

// The outcome in words: the model's name ("kMirovan"), "silent", "SDI-12 mode", or "answered,
// not identified".
std::string BusScanOutcome(const BusScanEntry& entry);

// The addresses a scan visits, in order.
struct AddressRange {
    uint32_t first = 1;
    uint32_t last = 15;
};

// What a scan through the port could not do, for the person to read after it: a port that
// cannot send a BREAK (raw TCP) cannot wake an instrument that sleeps, which is then listed as
// silent. Empty for a port that can.
std::string BusScanLimits(const PortCapabilities& port);

// "1-15" or "4"; none unless both ends are addresses 1 to 15 and in order.
std::optional<AddressRange> ParseAddressRange(std::string_view text);

// One address at a time of an RS-485 bus, on the link the caller holds: the address is selected,
// and the instrument there is woken and identified by the usual sequences. Questions those
// sequences would ask ("FAIL TO LOCATE PROMPT" at an address where nobody is) are answered
// without a word: an address that does not answer is silent, not an error.
class CBusScan {
  public:
    explicit CBusScan(CSerialLink& link);

    BusScanEntry Probe(uint32_t address);
    // Leaves the line with no address selected.
    void SelectNone();

  private:
    class QuietHost : public UiHost {
      public:
        MessageResult ShowMessage(const std::string&, const std::string&, MessageButtons,
                                  MessageIcon) override {
            return MessageResult::kOk;
        }
        void SetWaitCursor(bool) override {}
        void PumpMessages(uint32_t) override {}
    };

    CSerialLink& link_;
    QuietHost quiet_;
    CInstrument instrument_;
};

}  // namespace brennix
