#pragma once

#include <cstdint>

#include "instrument/instrument.h"
#include "link/serial_link.h"
#include "recorder/listener_ui_host.h"
#include "recorder/recorder_access.h"
#include "recorder/recorder_job_listener.h"

namespace brennix {

// The instrument as a recorder job sees it on its own thread: an instrument object of its own on
// the program's link, at the same RS-485 address, whose boxes go to the job's listener instead
// of the window; and the recorder access on it. The borrowed instrument must have a link.
class WorkerInstrument {
  public:
    WorkerInstrument(const CInstrument& borrowed, RecorderJobListener& listener)
        : link_(*borrowed.GetLink()),
          ui_(listener, link_.GetClock()),
          instrument_(link_.GetClock(), ui_),
          access_(Bound(instrument_, link_, borrowed.Rs485Address())) {}

    CSerialLink& Link() { return link_; }
    Clock& GetClock() { return link_.GetClock(); }
    CInstrument& Instrument() { return instrument_; }
    CRecorderAccess& Access() { return access_; }

  private:
    static CInstrument& Bound(CInstrument& instrument, CSerialLink& link, uint32_t address) {
        instrument.SetLink(&link);
        instrument.SetRs485Address(address);
        return instrument;
    }

    CSerialLink& link_;
    ListenerUiHost ui_;
    CInstrument instrument_;
    CRecorderAccess access_;
};

}  // namespace brennix
