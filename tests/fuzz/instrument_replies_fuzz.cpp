// Plays an instrument whose every answer is the input's next chunk (chunked_far_end.h): the
// connect dialog's prompt probe, the wake-up with its SDI-12 question answered Yes, the
// identification from the version banner, and the three configuration blocks with the record
// they make. The host must end each with a result in its code space, never a crash, an overrun
// or a hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "chunked_far_end.h"
#include "instrument/instrument.h"
#include "instrument/instrument_codes.h"
#include "instrument/setup_reader.h"
#include "link/link_lease.h"
#include "link/prompt_probe.h"
#include "link/serial_link.h"

namespace {

using namespace brennix;

// Every line, every plus sign and every character sent one at a time gets an answer.
void Answer(const std::string& written, fuzz::ChunkedFarEnd& far) {
    if (!written.empty()) {
        far.ReleaseNext();
    }
}

// The record's every field is read as the pages and the diagnostics read it.
void ReadEveryField(const SetupRecord& record) {
    const ConfBlock& conf = record.Conf();
    volatile int sum = conf.SystemType() + conf.BeamCount() + conf.SlantAngle();
    const UserBlock& user = record.User();
    sum = sum + user.SamplingInterval() + user.AveragingInterval() + user.Salinity() +
          user.WaveOptions();
    (void)sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VirtualClock clock;
    StopEvent dry;
    fuzz::ChunkedFarEnd far(data, size, clock, dry, &Answer, true);
    fuzz::FixedAnswerUi ui(MessageResult::kYes);
    CSerialLink link(far, clock);
    const LinkLease lease(link, &dry);
    ProbePrompt(link);
    CInstrument instrument(clock, ui);
    instrument.SetLink(&link);
    const int code = instrument.FindInstrument(true, true);
    if (code < kFailToWakeUpInstrument5 || code > kPelorin) {
        __builtin_trap();
    }
    const SetupRecordRead read = ReadSetupRecord(instrument);
    if (read.record) {
        ReadEveryField(*read.record);
    } else if (read.unreadBlock.empty()) {
        __builtin_trap();
    }
    return 0;
}
