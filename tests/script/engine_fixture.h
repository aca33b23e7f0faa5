#pragma once

#include <gtest/gtest.h>

#include <string>

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

}  // namespace brennix::test
