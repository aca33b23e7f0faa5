#pragma once

#include "instrument/instrument.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
#include "script/script_engine.h"
#include "script/script_ui_host.h"
#include "script/session_notes.h"

namespace brennix {

// The link, the instrument bound to it and the script engine attached to the instrument, owned
// together and wired as every front end needs them: the terminal window, the console runner and
// the tests each build one. Features borrow the instrument (and through it the link).
class CSession {
  public:
    CSession(SerialDevice& device, Clock& clock, ScriptUiHost& ui);
    ~CSession();
    CSession(const CSession&) = delete;
    CSession& operator=(const CSession&) = delete;

    CSerialLink& Link() { return link_; }
    CInstrument& Instrument() { return instrument_; }
    CScriptEngine& Engine() { return engine_; }
    Clock& GetClock() { return clock_; }
    ScriptUiHost& Ui() { return ui_; }
    // What the views showed in this session, for a deployment record; owner's thread only.
    SessionNotes& Notes() { return notes_; }

    // A typed line or a command file, run by the engine as the technician's own (not quiet).
    bool RunText(const std::string& text);
    // A script runs, or a dialog or a job holds the link: nobody else may use it now.
    bool LinkBusy() const;

  private:
    Clock& clock_;
    ScriptUiHost& ui_;
    CSerialLink link_;
    CInstrument instrument_;
    CScriptEngine engine_;
    SessionNotes notes_;
};

}  // namespace brennix
