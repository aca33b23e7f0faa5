#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

#include "instrument/instrument.h"
#include "script/script_engine.h"
#include "support/scripted_ui_host.h"
#include "support/sim_session.h"

namespace brennix::test {

// An engine attached to an instrument on a simulated line, as the session wires them.
class EngineTest : public testing::Test {
  protected:
    const std::string& Received() const { return line.instrument.Received(); }
    const std::string& Terminal() const { return line.terminal.Text(); }
    uint32_t Now() { return line.clock.TickCount(); }
    // What the terminal shows for one reported error.
    static std::string ErrorText(const std::string& text) { return "\r\nERROR: " + text; }
    bool Shows(const std::string& text) const { return Terminal().find(text) != std::string::npos; }

    SimSession line;
    ScriptedUiHost& ui = line.ui;
    CInstrument& instrument = line.session.Instrument();
    CScriptEngine& engine = line.session.Engine();
};

// Names each case of a TEST_P whose parameter has a script field: its index, then the start of
// the script with every character that is not a letter or digit as '_'.
inline constexpr auto kNameAfterScript = [](const auto& info) {
    std::string name = std::to_string(info.index) + "_";
    for (const char c : std::string_view(info.param.script).substr(0, 40)) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
};

}  // namespace brennix::test
