#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "instrument/instrument.h"
#include "instrument/scripted_device.h"
#include "link/output_window.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "support/scripted_ui_host.h"

namespace brennix::test {

// An instrument object on an open link to a scripted far end, all on the virtual clock.
struct ScriptedLine {
    ScriptedLine() {
        link.Open("SCRIPTED", 9600);
        link.Tap().SetOutputWindow(&pane);
        instrument.SetLink(&link);
    }

    uint32_t Elapsed(uint32_t since = 0) { return clock.TickCount() - since; }
    void ExpectOneMessage(const std::string& text, const std::string& caption = "") const {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, text);
        EXPECT_EQ(ui.messages[0].caption, caption);
    }

    VirtualClock clock;
    ScriptedDevice device{clock};
    CSerialLink link{device, clock};
    StringTerminalPane pane;  // what the terminal would show
    ScriptedUiHost ui{clock};
    CInstrument instrument{clock, ui};
};

}  // namespace brennix::test
