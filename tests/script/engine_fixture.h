#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

#include "instrument/instrument.h"
#include "script/script_engine.h"
#include "support/scripted_ui_host.h"
#include "support/sim_line.h"

namespace brennix::test {

// An engine attached to an instrument on a simulated line, as the terminal window wires them.
class EngineTest : public testing::Test {
  protected:
    EngineTest() : ui(line.clock), instrument(line.clock, ui), engine(ui, line.clock) {
        instrument.SetLink(&line.link);
        instrument.SetScriptEngine(&engine);
        engine.SetInstrument(&instrument);
    }

    const std::string& Received() const { return line.instrument.Received(); }
    const std::string& Terminal() const { return line.terminal.Text(); }
    uint32_t Now() { return line.clock.TickCount(); }
    // What the terminal shows for one reported error.
    static std::string ErrorText(const std::string& text) { return "\r\nERROR: " + text; }
    bool Shows(const std::string& text) const { return Terminal().find(text) != std::string::npos; }

    SimLine line;
    ScriptedUiHost ui;
    CInstrument instrument;
    CScriptEngine engine;
};

// Names a parameterised case after its script: the case's index, then the script's letters and
// digits, other runs of characters as one '_'.
inline std::string ScriptCaseName(size_t index, std::string_view script) {
    std::string name = std::to_string(index) + "_";
    for (const char c : script.substr(0, 40)) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += c;
        } else if (name.back() != '_') {
            name += '_';
        }
    }
    return name;
}

// Gives each case of a TEST_P whose parameter has a script field its ScriptCaseName.
inline constexpr auto kNameAfterScript = [](const auto& info) {
    return ScriptCaseName(info.index, info.param.script);
};

}  // namespace brennix::test
