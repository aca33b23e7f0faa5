#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/host_line.h"

namespace brennix::sim {

class SimRecorder;

// The models the simulator can play, by the name its banner reports.
enum class Model { kKtx, kLmr, kMirovan, kFendrel, kMirovanAdv, kCorvex, kPelorin };

struct Settings {
    Model model = Model::kMirovan;
    uint32_t baudRate = 9600;     // the only rate at which it understands and is understood
    uint32_t rs485Address = 0;    // 0: plain RS-232; otherwise ignores traffic until selected
    bool asleep = false;          // answers nothing until a BREAK, blank lines or plus signs
    bool sdi12Mode = false;       // answers in SDI-12 until "?EXIT!" plus "!"
    bool reportsCompass = false;  // wakes with a compass report and a slow prompt
    uint32_t compassDelayMs = 5000;
    bool bannerLeadByte = false;           // sends 0xE8 before the "Ver" banner
    bool paceAtLineRate = true;            // output bytes leave at the line rate, not all at once
    uint32_t idleSleepMs = 0;              // falls asleep after this long without input; 0: never
    uint32_t recorderCapacity = 4u << 20;  // bytes
    uint32_t recorderUsed = 0;             // bytes taken besides the files, e.g. a nearly full card
    // What the Conf block reports besides the model's own description.
    std::optional<uint8_t> cpuVersion = std::nullopt;  // firmware version × 10; none: the model's
    std::optional<uint8_t> systemType = std::nullopt;  // 0 QZ ... 5 LMR; none: the model's own
    uint8_t frequencyCode = 1;                         // 0 3 MHz (3000 kHz), 1 1.5 MHz (1500 kHz)
    bool compassInstalled = true;
    bool sdi12Option = true;
    bool externalPressureSensor = false;
    bool startDateSet = true;  // false: the User block holds no start date, 0000/00/00
    bool waveOption = false;   // answers "YES" to "enablewaves"
    // The recorder's files: those of this folder when one is given, else a few generated ones
    // when recorderSamples is set, else none.
    std::string recorderFolder = {};
    bool recorderSamples = true;
    uint32_t formatMs = 3000;  // how long "format" works after its question was answered yes
    // Seeds the generator of the line faults (lost, altered and flipped bits); none: a fixed one.
    std::optional<uint32_t> faultSeed = std::nullopt;
};

// How the diagnostic frames answered to "Amp" are spoiled.
enum class FrameFault { kNone, kBadChecksum, kTruncated, kTooManyCells };

// Fault knobs; all off by default.
struct Faults {
    // A noisy line: each bit of a recorder transfer's block frames (of everything sent, with
    // noiseEverything) is flipped with this probability.
    double bitErrorRate = 0.0;
    bool noiseEverything = false;
    uint32_t extraDelayMs = 0;  // added before every reply
    bool silent = false;        // answers nothing at all
    bool wrongBlockChecksum = false;
    bool noCompass = false;            // "compass init" and "compass cal" are refused
    bool compassScoreMissing = false;  // a calibration ends without its score line
    FrameFault frameFault = FrameFault::kNone;
    // Setting words (any case, also the diagnostics' set-up commands) answered with an error
    // whatever the value.
    std::vector<std::string> refusedSettings = {};
    // Recorder transfers count their blocks from 0 (the directory's header, or a download's
    // repeated entry); -1 leaves every block alone.
    int badChecksumBlock = -1;    // this block goes out with a wrong checksum...
    int badChecksumSends = 1;     // ...the first this many times it is sent
    int droppedBlock = -1;        // this block is not sent the first time it is asked for
    int stallAfterBlocks = -1;    // after this many blocks the instrument hangs until a BREAK
    bool rejectDownload = false;  // "download" is answered with an error
    bool refuseBaud = false;      // "BAUD 0 N" is answered with an error
    // The first this many downloads have two bits of their first data block flipped in opposite
    // directions, a damage the block's additive checksum cannot see.
    int blindDamageDownloads = 0;
};

// A model of the maker's instruments as seen from the serial line. It is driven entirely by what
// the host sends and by the tick the host passes in, so it runs the same on the virtual clock and
// in real time. Not thread-safe: one host drives it.
class SimulatedInstrument : public HostLine {
  public:
    explicit SimulatedInstrument(const Settings& settings = {});
    ~SimulatedInstrument() override;
    SimulatedInstrument(const SimulatedInstrument&) = delete;
    SimulatedInstrument& operator=(const SimulatedInstrument&) = delete;

    // The host's side of the line. A real-time server also gives the microseconds into the
    // tick's millisecond: answers then start, and paced output arrives, to the microsecond, as
    // on a real line; with whole ticks both happen on the millisecond.
    void HostSetBaudRate(uint32_t baudRate) override;
    void HostWrite(const uint8_t* data, size_t count, uint32_t nowTick,
                   uint32_t microsecond = 0) override;
    void HostBreak(bool on, uint32_t nowTick) override;
    // Bytes that have reached the host by then, and taking them.
    size_t HostAvailable(uint32_t nowTick, uint32_t microsecond = 0) override;
    size_t HostRead(uint8_t* buffer, size_t maxCount, uint32_t nowTick,
                    uint32_t microsecond = 0) override;
    uint32_t StartRate() const override;

    // How long until the next queued byte reaches the host: 0 when one is due already, none when
    // nothing is queued. Lets a real-time server sleep until then.
    std::optional<uint32_t> MsUntilNextOutput(uint32_t nowTick);
    std::optional<uint32_t> UsUntilNextOutput(uint32_t nowTick, uint32_t microsecond) override;

    Faults& GetFaults();
    // The recorder's files, to fill or look at.
    SimRecorder& Recorder();
    const Settings& GetSettings() const;
    // Everything the host wrote, in order, for tests to assert on: also what the instrument did
    // not understand (another rate, another RS-485 address, asleep, during a BREAK).
    const std::string& Received() const;
    void ClearReceived();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace brennix::sim
