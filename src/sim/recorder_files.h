#pragma once

#include <string>
#include <vector>

namespace brennix::sim {

// A file on the simulated recorder.
struct RecorderFile {
    std::string name;  // 8.3 on a real recorder; up to 12 bytes fit its directory entry
    std::string data;
    int year = 2026, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// A few files of a deployment, with contents that are the same on every run.
std::vector<RecorderFile> SampleRecorderFiles();

struct RecorderFolder {
    std::vector<RecorderFile> files;   // sorted by name
    std::vector<std::string> skipped;  // names that do not fit a directory entry
    std::string error;                 // set when the folder could not be read
};

// The regular files of a folder as recorder files, dated by their modification time.
RecorderFolder LoadRecorderFolder(const std::string& path);

}  // namespace brennix::sim
