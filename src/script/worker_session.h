#pragma once

#include "instrument/instrument.h"
#include "script/script_engine.h"
#include "script/session.h"

namespace brennix {

// The instrument as a job sees it on its own thread: an instrument object and a script engine of
// its own on the session's link, at the same RS-485 address, whose questions go to the UiHost the
// job was given. A setting sent through it goes through an engine exactly as one typed at the
// terminal would, with the terminal's variables; the terminal's own engine and instrument are
// never touched from the worker.
class WorkerSession {
  public:
    WorkerSession(CSession& session, ScriptUiHost& ui);
    ~WorkerSession();
    WorkerSession(const WorkerSession&) = delete;
    WorkerSession& operator=(const WorkerSession&) = delete;

    CSerialLink& Link() { return link_; }
    CInstrument& Instrument() { return instrument_; }
    CScriptEngine& Engine() { return engine_; }
    // Sends a command as a typed line goes: through this worker's engine, quietly, with the
    // terminal's variables.
    CInstrument::CommandSender TypedLine() {
        return [this](const std::string& command) { return engine_.Run(command, true) != 0; };
    }
    Clock& GetClock() { return link_.GetClock(); }

  private:
    CSerialLink& link_;
    CInstrument instrument_;
    CScriptEngine engine_;
};

}  // namespace brennix
