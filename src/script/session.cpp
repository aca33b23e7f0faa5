#include "script/session.h"

namespace brennix {

CSession::CSession(SerialDevice& device, Clock& clock, ScriptUiHost& ui)
    : clock_(clock), ui_(ui), link_(device, clock), instrument_(clock, ui), engine_(ui, clock) {
    instrument_.SetLink(&link_);
    instrument_.SetScriptEngine(&engine_);
    engine_.SetInstrument(&instrument_);
}

CSession::~CSession() {
    instrument_.SetScriptEngine(nullptr);
}

bool CSession::LinkBusy() const {
    return engine_.IsRunning() || link_.Waits().IsLeased();
}

}  // namespace brennix
