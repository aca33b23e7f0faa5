#pragma once

#include <string>
#include <vector>

#include "instrument/instrument.h"
#include "platform/clock.h"
#include "script/script_ui_host.h"

namespace brennix {

class CScriptEngine;

// The built-in directives (#WAIT, #WAIT_PROMPT, #WAIT_OK, #SENDBREAK, #WAKEUP, #MSGBOX,
// #SETBAUDRATE, #RUNSCRIPT) and functions (DATE, TIME), registered with the engine.
class ScriptDirectives {
  public:
    static constexpr size_t kReplyBufferSize = 4000;
    static constexpr uint32_t kAttemptMs = 1000;
    static constexpr int kDefaultBaudRate = 9600;
    // Command files calling command files: deeper than this is a file that calls itself.
    static constexpr int kMaxRunScriptNesting = 16;
    // A token no instrument sends, so each #WAIT attempt lasts its full second.
    static constexpr const char* kNeverSentToken = "ZorvethKalumbrin >";

    ScriptDirectives(CScriptEngine& engine, ScriptUiHost& ui, Clock& clock);

    void RegisterWith(CScriptEngine& engine);

    int HandleDirective(CInstrument* instrument, const std::string& name,
                        const std::vector<std::string>& arguments, bool& handled);
    int HandleFunction(CInstrument* instrument, const std::string& name,
                       const std::vector<std::string>& arguments, std::string& result,
                       bool& handled);

    // The paths #RUNSCRIPT tries, in order.
    std::vector<std::string> RunScriptCandidates(const std::string& name) const;

  private:
    int Wait(CInstrument* instrument, int periods);
    int WaitForToken(CInstrument* instrument, int attempts, const char* token, const char* failure);
    bool Attempt(CInstrument* instrument, const char* token, bool stopAtPrompt);
    int SendBreak(CInstrument* instrument);
    int WakeUp(CInstrument* instrument);
    int MessageBox(const std::string& text);
    int SetBaudRate(CInstrument* instrument, int rate);
    int RunScript(CInstrument* instrument, const std::vector<std::string>& arguments);

    CScriptEngine& engine_;
    ScriptUiHost& ui_;
    Clock& clock_;
};

}  // namespace brennix
