#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brennix::soak {

// What this process holds, from /proc/self: its resident memory, its threads and its open files.
struct ProcessFigures {
    size_t residentKb = 0;
    size_t threads = 0;
    std::vector<std::string> openFiles;  // what each descriptor refers to

    static ProcessFigures Now();
    std::string Text() const;
};

// The files open in end that were not in start.
std::vector<std::string> FilesLeftOpen(const ProcessFigures& start, const ProcessFigures& end);

}  // namespace brennix::soak
