#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>

#include "instrument/instrument.h"
#include "support/scripted_line.h"
#include "support/scripted_ui_host.h"

namespace brennix::test {

// An instrument object on a link to a scripted far end, showing its message boxes to a scripted
// UI host.
struct ScriptedInstrumentLine : ScriptedLine {
    explicit ScriptedInstrumentLine(uint32_t startTick = 0) : ScriptedLine(startTick) {
        instrument.SetLink(&link);
    }

    // What has arrived and the host has not read.
    std::string Unread() {
        std::string rest(link.BytesWaiting(), '\0');
        size_t done = 0;
        link.Read(std::span(reinterpret_cast<uint8_t*>(rest.data()), rest.size()), done, 0, false);
        return rest.substr(0, done);
    }
    uint32_t Elapsed(uint32_t since = 0) { return clock.TickCount() - since; }
    // The one box shown, or none when text is empty.
    void ExpectMessage(const std::string& text, const std::string& caption = "") const {
        ASSERT_EQ(ui.messages.size(), text.empty() ? 0u : 1u);
        if (text.empty()) {
            return;
        }
        EXPECT_EQ(ui.messages[0].text, text);
        EXPECT_EQ(ui.messages[0].caption, caption);
    }

    ScriptedUiHost ui{clock};
    CInstrument instrument{clock, ui};
};

}  // namespace brennix::test
