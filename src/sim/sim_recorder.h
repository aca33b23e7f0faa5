#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/command_interpreter.h"
#include "sim/sim_mode.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// A file on the simulated recorder.
struct RecorderFile {
    std::string name;  // 8.3
    std::string data;
    int year = 2026, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// The instrument's recorder: its files, its capacity, and the directory listing ("bdir") in
// framed blocks: an 80-byte header with the capacity at offset 74, one 28-byte block per file, an
// empty block, and the used space in units of 64 KiB.
class SimRecorder {
  public:
    static constexpr uint32_t kSpaceUnit = 65536;

    SimRecorder(const Settings& settings, const Faults& faults, ModeHost& host);

    // Registers the recorder's commands with the instrument's command line.
    void RegisterWith(CommandInterpreter& interpreter);

    void AddFile(RecorderFile file);
    const std::vector<RecorderFile>& Files() const { return files_; }
    uint32_t Capacity() const { return capacity_; }
    // The space the files take, in whole units as the instrument counts it.
    uint32_t UsedBytes() const;

  private:
    Reply Directory();
    std::string HeaderBlock() const;
    static std::string EntryBlock(const RecorderFile& file);

    const Faults& faults_;
    ModeHost& host_;
    std::vector<RecorderFile> files_;
    uint32_t capacity_;
    uint32_t extraUsed_;
};

}  // namespace brennix::sim
