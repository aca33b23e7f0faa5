#pragma once

#include <cstddef>
#include <string>

namespace brennix::soak {

// What this process holds, from /proc/self: its resident memory, its threads and its open files.
struct ProcessFigures {
    size_t residentKb = 0;
    size_t threads = 0;
    size_t fileDescriptors = 0;

    static ProcessFigures Now();
    std::string Text() const;
};

}  // namespace brennix::soak
