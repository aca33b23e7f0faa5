#include "script/session.h"

namespace brennix {

CSession::CSession(SerialDevice& device, Clock& clock, ScriptUiHost& ui)
    : clock_(clock), ui_(ui), link_(device, clock), instrument_(clock, ui), engine_(ui, clock) {
    instrument_.SetLink(&link_);
    engine_.SetInstrument(&instrument_);
}

CSession::~CSession() = default;

bool CSession::RunText(const std::string& text) {
    return engine_.Run(text, false) != 0;
}

bool CSession::LinkBusy() const {
    return engine_.IsRunning() || link_.Waits().IsLeased();
}

}  // namespace brennix
