#include "script/worker_session.h"

namespace brennix {

WorkerSession::WorkerSession(CSession& session, ScriptUiHost& ui)
    : link_(session.Link()), instrument_(session.GetClock(), ui), engine_(ui, session.GetClock()) {
    instrument_.SetLink(&link_);
    instrument_.SetRs485Address(session.Instrument().Rs485Address());
    engine_.SetInstrument(&instrument_);
    engine_.ShareVariablesOf(session.Engine());
}

WorkerSession::~WorkerSession() = default;

}  // namespace brennix
