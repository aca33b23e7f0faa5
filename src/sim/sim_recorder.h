#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/command_interpreter.h"
#include "sim/recorder_files.h"
#include "sim/sim_mode.h"
#include "sim/simulated_instrument.h"

namespace brennix::sim {

// The instrument's recorder: its files and capacity, and its commands:
// - "bdir": the directory in framed blocks: an 80-byte header with the capacity at offset 74, one
//   28-byte block per file, an empty block, and the used space in units of 64 KiB;
// - "download NAME": the file's directory entry again, its data in blocks of up to 1024 bytes,
//   and an empty block;
// - "format": asks "YES or NO", then erases every file;
// - "BAUD 0 N": acknowledges at the current rate, then talks at N.
class SimRecorder {
  public:
    static constexpr uint32_t kSpaceUnit = 65536;
    static constexpr size_t kBlockSize = 1024;

    SimRecorder(const Settings& settings, const Faults& faults, ModeHost& host);

    // Registers the recorder's commands with the instrument's command line.
    void RegisterWith(CommandInterpreter& interpreter);

    void AddFile(RecorderFile file);
    const std::vector<RecorderFile>& Files() const { return files_; }
    uint32_t Capacity() const;
    // The space the files take, in whole units as the instrument counts it.
    uint32_t UsedBytes() const;
    // Why the recorder folder of the settings could not be served; empty when it could.
    const std::string& FolderError() const { return folderError_; }
    // Files of the folder whose names do not fit a directory entry, left out.
    const std::vector<std::string>& SkippedNames() const { return skipped_; }

  private:
    Reply Directory();
    Reply Download(std::string_view name);
    Reply Format();
    Reply Baud(std::string_view argument);
    Reply Transfer(const std::vector<std::string>& blocks, std::string reply);
    std::string HeaderBlock() const;
    static std::string EntryBlock(const RecorderFile& file);

    const Settings& settings_;
    const Faults& faults_;
    int blindDamaged_ = 0;
    ModeHost& host_;
    std::vector<RecorderFile> files_;
    std::vector<std::string> skipped_;
    std::string folderError_;
};

}  // namespace brennix::sim
