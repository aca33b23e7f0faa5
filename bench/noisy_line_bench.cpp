// Downloads one file again and again over a noisy simulated line, on virtual time, and counts how
// each download ended: byte-identical, said to be incomplete, or "Done" on a damaged file, told
// apart by whether every block's additive checksum still held (two flips of the same bit in
// opposite directions) or not (a fault). With --verify each file is fetched until two copies
// agree.
//
//   noisy_line_bench [--runs N] [--size BYTES] [--ber RATE] [--verify] [--attempts N]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "recorder/recorder_service.h"
#include "sim/sim_recorder.h"
#include "support/sim_session.h"

namespace brennix::test {
namespace {

namespace fs = std::filesystem;

struct Options {
    int runs = 50;
    size_t size = 100 * 1024;
    double ber = 1e-5;
    bool verify = false;
    int attempts = 3;
};

struct Tally {
    int identical = 0;
    int incomplete = 0;
    int doneDamagedUnseen = 0;  // every block's checksum still held
    int doneDamaged = 0;        // a damage the checksum should have seen: a fault
    int other = 0;
};

struct Collected : RecorderListener {
    void OnRateSet(uint32_t, bool) override {}
    void OnListed(const std::optional<RecorderListing>& value) override { listing = value; }
    void OnProgress(const RecorderProgress&) override {}
    void OnFileEnded(const DownloadedFile&) override {}
    void OnDownloaded(const DownloadResult& value) override { downloaded = value; }
    void OnFormatted(FormatOutcome) override {}
    // A read error is gone on from, as a technician fetching the rest would.
    MessageResult ShowMessage(const std::string&, const std::string&, MessageButtons buttons,
                              MessageIcon) override {
        return buttons == MessageButtons::kYesNo ? MessageResult::kYes : MessageResult::kOk;
    }
    ReplaceAnswer ConfirmReplace(const std::string&) override { return ReplaceAnswer::kYes; }

    std::optional<RecorderListing> listing;
    std::optional<DownloadResult> downloaded;
};

std::string Contents(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// True when each 1024-byte block of the two files has the same 16-bit byte sum: damage that the
// blocks' checksum cannot see.
bool ChecksumsHold(const std::string& sent, const std::string& received) {
    constexpr size_t kBlock = 1024;
    if (sent.size() != received.size()) {
        return false;
    }
    for (size_t at = 0; at < sent.size(); at += kBlock) {
        uint16_t a = 0;
        uint16_t b = 0;
        for (size_t i = at; i < std::min(at + kBlock, sent.size()); ++i) {
            a = static_cast<uint16_t>(a + static_cast<uint8_t>(sent[i]));
            b = static_cast<uint16_t>(b + static_cast<uint8_t>(received[i]));
        }
        if (a != b) {
            return false;
        }
    }
    return true;
}

std::string RandomData(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string data(size, '\0');
    for (char& byte : data) {
        byte = static_cast<char>(random());
    }
    return data;
}

void RunOnce(const Options& options, unsigned seed, const fs::path& folder, Tally& tally) {
    SimSession sim({.recorderSamples = false, .faultSeed = seed});
    const std::string data = RandomData(options.size, seed);
    sim.instrument.Recorder().AddFile({"NOISY.000", data});
    Collected heard;
    RecorderService service(sim.session, sim.relay, heard);
    const auto idle = [&service] { return !service.IsBusy(); };
    service.List();
    sim.PumpUntil(idle, 600000);
    if (!heard.listing || heard.listing->entries.empty()) {
        ++tally.other;
        return;
    }
    sim.instrument.GetFaults().bitErrorRate = options.ber;
    service.Download(
        {heard.listing->entries, folder.string(), std::nullopt, options.attempts, options.verify});
    sim.PumpUntil(idle, 24 * 3600 * 1000);
    const DownloadResult& result = *heard.downloaded;
    const bool done = result.outcome == DownloadOutcome::kDone;
    const std::string received = done ? Contents(folder / "NOISY.000.mrv") : "";
    if (done && received == data) {
        ++tally.identical;
    } else if (done && ChecksumsHold(data, received)) {
        ++tally.doneDamagedUnseen;
    } else if (done) {
        ++tally.doneDamaged;
    } else if (result.outcome == DownloadOutcome::kIncomplete) {
        ++tally.incomplete;
    } else {
        ++tally.other;
    }
    fs::remove_all(folder);
    fs::create_directories(folder);
}

bool Parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool valued = i + 1 < argc;
        if (option == "--verify") {
            options.verify = true;
        } else if (option == "--runs" && valued) {
            options.runs = std::atoi(argv[++i]);
        } else if (option == "--size" && valued) {
            options.size = std::strtoul(argv[++i], nullptr, 10);
        } else if (option == "--ber" && valued) {
            options.ber = std::strtod(argv[++i], nullptr);
        } else if (option == "--attempts" && valued) {
            options.attempts = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr,
                         "usage: noisy_line_bench [--runs N] [--size BYTES] [--ber RATE] "
                         "[--verify] [--attempts N]\n");
            return false;
        }
    }
    return true;
}

}  // namespace
}  // namespace brennix::test

int main(int argc, char** argv) {
    using namespace brennix::test;
    Options options;
    if (!Parse(argc, argv, options)) {
        return 2;
    }
    const fs::path folder = fs::temp_directory_path() / "brennix-noisy-line-bench";
    fs::create_directories(folder);
    Tally tally;
    for (int run = 0; run < options.runs; ++run) {
        RunOnce(options, static_cast<unsigned>(run + 1), folder, tally);
    }
    fs::remove_all(folder);
    std::printf("%d downloads of %zu bytes at BER %g%s, %d attempts per block:\n", options.runs,
                options.size, options.ber, options.verify ? " with --verify" : "",
                options.attempts);
    std::printf("  byte-identical, Done                   %d\n", tally.identical);
    std::printf("  said to be incomplete                  %d\n", tally.incomplete);
    std::printf("  Done, damage the checksum cannot see  %d\n", tally.doneDamagedUnseen);
    std::printf("  Done on a damaged file (a fault)       %d\n", tally.doneDamaged);
    std::printf("  ended otherwise                        %d\n", tally.other);
    return 0;
}
