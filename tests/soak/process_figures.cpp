#include "soak/process_figures.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace brennix::soak {

namespace {

size_t Entries(const char* folder) {
    const std::filesystem::directory_iterator entries(folder);
    return static_cast<size_t>(std::distance(begin(entries), end(entries)));
}

size_t ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string word;
    size_t kb = 0;
    while (status >> word) {
        if (word == "VmRSS:") {
            status >> kb;
            break;
        }
    }
    return kb;
}

}  // namespace

ProcessFigures ProcessFigures::Now() {
    // The count of open files is taken first: the directory listing holds one of its own.
    const size_t files = Entries("/proc/self/fd") - 1;
    return {ResidentKb(), Entries("/proc/self/task"), files};
}

std::string ProcessFigures::Text() const {
    return std::to_string(residentKb) + " kB resident, " + std::to_string(threads) + " threads, " +
           std::to_string(fileDescriptors) + " open files";
}

}  // namespace brennix::soak
