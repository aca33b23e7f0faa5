// Downloads one recorder file over a real port and prints how close the transfer came to the
// line rate: the time the file's framed blocks need at 10 bits per byte, over the time the
// download took from its "download" command to the end of its last block. scripts/bench runs it
// against brennix-sim on a pseudo-terminal, and through ser2net by RFC 2217.
#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "instrument/instrument.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/network_port_name.h"
#include "platform/network_serial_device.h"
#include "platform/posix_serial_device.h"
#include "recorder/download_job.h"
#include "recorder/recorder_access.h"

namespace brennix {
namespace {

constexpr size_t kBlockSize = 1024;
constexpr uint32_t kWaitMs = 24u * 3600 * 1000;

// Answers every question yes; keeps the times the file started and ended.
class TimingListener : public RecorderJobListener, public UiHost {
  public:
    using Time = std::chrono::steady_clock::time_point;

    void ShowStatus(const std::string& text) override {
        std::lock_guard lock(mutex_);
        if (!start_) {
            start_ = std::chrono::steady_clock::now();
        }
        status_ = text;
    }
    void ShowDetail(const std::string&) override {}
    void SetProgressRange(int) override {}
    void SetProgress(int) override {}
    MessageResult ShowMessage(const std::string& text, const std::string&, MessageButtons,
                              MessageIcon) override {
        std::fprintf(stderr, "recorder_bench: %s\n", text.c_str());
        return MessageResult::kNo;
    }
    ReplaceAnswer ConfirmReplace(const std::string&) override { return ReplaceAnswer::kYes; }
    void FileEnded(const DownloadedFile& file) override {
        std::lock_guard lock(mutex_);
        end_ = std::chrono::steady_clock::now();
        file_ = file;
    }
    void OperationEnded() override {}

    void SetWaitCursor(bool) override {}
    void PumpMessages(uint32_t) override {}

    double Seconds() const {
        std::lock_guard lock(mutex_);
        return std::chrono::duration<double>(end_ - *start_).count();
    }
    DownloadedFile File() const {
        std::lock_guard lock(mutex_);
        return file_;
    }

  private:
    mutable std::mutex mutex_;
    std::optional<Time> start_;
    Time end_;
    DownloadedFile file_;
    std::string status_;
};

// The bytes the instrument sends for a file: the repeated entry, the data blocks and the empty
// block, each framed with a length and a checksum word.
uint64_t WireBytes(uint64_t size) {
    const uint64_t blocks = (size + kBlockSize - 1) / kBlockSize;
    return (RecorderFileEntry::kWireSize + 4) + size + 4 * blocks + 4;
}

int Run(const std::string& port, uint32_t baud, const std::string& name,
        const std::string& folder) {
    SystemClock clock;
    PosixSerialDevice tty;
    NetworkSerialDevice network;
    CSerialLink link(IsNetworkPortName(port) ? static_cast<SerialDevice&>(network) : tty, clock);
    TimingListener listener;
    CInstrument instrument(clock, listener);
    instrument.SetLink(&link);
    if (!link.Open(port, baud)) {
        std::fprintf(stderr, "recorder_bench: cannot open %s: %s\n", port.c_str(),
                     link.LastErrorMessage().c_str());
        return 1;
    }
    std::vector<RecorderFileEntry> entries;
    if (!IsInstrument(instrument.FindInstrument(false, false)) ||
        !CRecorderAccess(instrument).ReadDirectory(entries)) {
        std::fprintf(stderr, "recorder_bench: cannot read the recorder's directory\n");
        return 1;
    }
    std::erase_if(entries, [&name](const RecorderFileEntry& entry) { return entry.name != name; });
    if (entries.empty()) {
        std::fprintf(stderr, "recorder_bench: no file %s on the recorder\n", name.c_str());
        return 1;
    }
    DownloadJob job(instrument, listener);
    job.Start({entries, folder});
    job.WaitFinished(kWaitMs);
    const DownloadedFile file = listener.File();
    if (file.outcome != FileOutcome::kComplete) {
        std::fprintf(stderr, "recorder_bench: the download did not complete\n");
        return 1;
    }
    const double seconds = listener.Seconds();
    const double lineSeconds = static_cast<double>(WireBytes(file.received)) * 10.0 / baud;
    std::printf(
        "%u baud: %llu bytes in %.2f s, %.0f bytes/s; line-rate limit %.2f s; "
        "fraction %.4f\n",
        baud, static_cast<unsigned long long>(file.received), seconds,
        static_cast<double>(file.received) / seconds, lineSeconds, lineSeconds / seconds);
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
