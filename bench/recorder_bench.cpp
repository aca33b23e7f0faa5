// Downloads one recorder file over a real port with the recorder service and prints how close the
// transfer came to the line rate: the time the file's framed blocks need at 10 bits per byte, over
// the time the download took from its first report to the end of its last block. scripts/bench
// runs it against brennix-sim on a pseudo-terminal, and through ser2net by RFC 2217.
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/network_port_name.h"
#include "platform/network_serial_device.h"
#include "platform/posix_serial_device.h"
#include "platform/queued_job_relay.h"
#include "recorder/recorder_service.h"
#include "script/script_ui_host.h"
#include "script/session.h"

namespace brennix {
namespace {

constexpr size_t kBlockSize = 1024;

// Answers every question no but the replace question; keeps the times the file started and ended.
class TimingListener : public RecorderListener, public ScriptUiHost {
  public:
    using Time = std::chrono::steady_clock::time_point;

    void OnRateSet(uint32_t, bool) override {}
    void OnListed(const std::optional<RecorderListing>& value) override { listing = value; }
    void OnProgress(const RecorderProgress& progress) override {
        if (!start && !progress.subject.empty()) {
            start = std::chrono::steady_clock::now();
        }
    }
    void OnFileEnded(const DownloadedFile& ended) override {
        end = std::chrono::steady_clock::now();
        file = ended;
    }
    void OnDownloaded(const DownloadResult&) override {}
    void OnFormatted(FormatOutcome) override {}
    MessageResult ShowMessage(const std::string& text, const std::string&, MessageButtons,
                              MessageIcon) override {
        std::fprintf(stderr, "recorder_bench: %s\n", text.c_str());
        return MessageResult::kNo;
    }
    ReplaceAnswer ConfirmReplace(const std::string&) override { return ReplaceAnswer::kYes; }

    bool AskInput(const std::vector<InputRow>&, std::vector<std::string>&) override {
        return false;
    }
    void OpenScriptWindow(bool, std::function<void()>) override {}
    void CloseScriptWindow() override {}
    void SetWaitCursor(bool) override {}
    void PumpMessages(uint32_t) override {}

    std::optional<RecorderListing> listing;
    std::optional<Time> start;
    Time end;
    DownloadedFile file;
};

// The bytes the instrument sends for a file: the repeated entry, the data blocks and the empty
// block, each framed with a length and a checksum word.
uint64_t WireBytes(uint64_t size) {
    const uint64_t blocks = (size + kBlockSize - 1) / kBlockSize;
    return (RecorderFileEntry::kWireSize + 4) + size + 4 * blocks + 4;
}

void RunToEnd(RecorderService& service, QueuedJobRelay& relay, Clock& clock) {
    for (relay.Pump(); service.IsBusy(); relay.Pump()) {
        clock.Sleep(1);
    }
}

int Run(const std::string& port, uint32_t baud, const std::string& name,
        const std::string& folder) {
    SystemClock clock;
    PosixSerialDevice tty;
    NetworkSerialDevice network;
    SerialDevice& device = IsNetworkPortName(port) ? static_cast<SerialDevice&>(network) : tty;
    TimingListener listener;
    CSession session(device, clock, listener);
    if (!session.Link().Open(port, baud)) {
        std::fprintf(stderr, "recorder_bench: cannot open %s: %s\n", port.c_str(),
                     session.Link().LastErrorMessage().c_str());
        return 1;
    }
    QueuedJobRelay relay(clock);
    RecorderService service(session, relay, listener);
    if (!IsInstrument(session.Instrument().FindInstrument(false, false)) || !service.List()) {
        std::fprintf(stderr, "recorder_bench: no instrument\n");
        return 1;
    }
    RunToEnd(service, relay, clock);
    if (!listener.listing) {
        std::fprintf(stderr, "recorder_bench: cannot read the recorder's directory\n");
        return 1;
    }
    std::vector<RecorderFileEntry> entries = listener.listing->entries;
    std::erase_if(entries, [&name](const RecorderFileEntry& entry) { return entry.name != name; });
    if (entries.empty() || !service.Download({entries, folder, std::nullopt})) {
        std::fprintf(stderr, "recorder_bench: no file %s on the recorder\n", name.c_str());
        return 1;
    }
    RunToEnd(service, relay, clock);
    if (listener.file.outcome != FileOutcome::kComplete || !listener.start) {
        std::fprintf(stderr, "recorder_bench: the download did not complete\n");
        return 1;
    }
    const double seconds = std::chrono::duration<double>(listener.end - *listener.start).count();
    const uint64_t received = listener.file.received;
    const double lineSeconds = static_cast<double>(WireBytes(received)) * 10.0 / baud;
    std::printf(
        "%u baud: %llu bytes in %.2f s, %.0f bytes/s; line-rate limit %.2f s; "
        "fraction %.4f\n",
        baud, static_cast<unsigned long long>(received), seconds,
        static_cast<double>(received) / seconds, lineSeconds, lineSeconds / seconds);
    return 0;
}

}  // namespace
}  // namespace brennix

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: recorder_bench PORT BAUD NAME FOLDER\n");
        return 2;
    }
    return brennix::Run(argv[1], static_cast<uint32_t>(std::stoul(argv[2])), argv[3], argv[4]);
}
