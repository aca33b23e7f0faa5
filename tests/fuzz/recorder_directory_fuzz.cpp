// Plays an instrument whose recorder answers "bdir" with whatever the input holds: the input is a
// series of chunks (chunked_far_end.h), one released each time the host acknowledges, rejects or
// stops. The host must come back with a listing or a failure, never a crash, an overrun or a
// hang; every entry it lists is one whole 28-byte block.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chunked_far_end.h"
#include "instrument/instrument.h"
#include "instrument/recorder_access.h"
#include "link/link_lease.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/stop_event.h"

namespace {

using namespace brennix;

// The far end: a prompt for every line, the ready signal after "bdir", then one chunk of the
// input per protocol byte.
void Answer(const std::string& written, fuzz::ChunkedFarEnd& far) {
    if (written == "a" || written == "b" || written == "d") {
        far.ReleaseNext();
    } else if (written.starts_with("bdir")) {
        far.Queue("bdir\r\nOK\r\nc");
    } else if (written.find('\r') != std::string::npos) {
        far.Queue("\r\n>");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    VirtualClock clock;
    StopEvent dry;
    fuzz::ChunkedFarEnd stream(data, size, clock, dry, &Answer, false);
    fuzz::FixedAnswerUi ui(MessageResult::kOk);
    CSerialLink link(stream, clock);
    CInstrument instrument(clock, ui);
    instrument.SetLink(&link);
    CRecorderAccess access(instrument);
    const LinkLease lease(link, &dry);
    std::vector<RecorderFileEntry> entries;
    if (!access.ReadDirectory(entries)) {
        return 0;
    }
    // A directory that was read is not asked for again; the used space comes in whole units of
    // 64 KiB.
    const size_t written = stream.Written();
    uint32_t used = 0;
    uint32_t total = 0;
    if (!access.GetSpace(used, total) || stream.Written() != written ||
        entries.size() > CRecorderAccess::kMaxEntries || used % 65536 != 0) {
        __builtin_trap();
    }
    return 0;
}
