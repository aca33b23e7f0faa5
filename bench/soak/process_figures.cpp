#include "soak/process_figures.h"

#include <malloc.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

// The address sanitizer's, when it is linked in.
extern "C" void __sanitizer_purge_allocator() __attribute__((weak));

namespace brennix::soak {

namespace {

namespace fs = std::filesystem;

// Once the allocators have given back to the system what they hold free (the sanitizer's
// quarantine of freed memory included), so that what stays resident is what the program uses.
size_t ResidentKb() {
    if (&__sanitizer_purge_allocator != nullptr) {
        __sanitizer_purge_allocator();
    }
    malloc_trim(0);
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

// Sorted, leaving out the descriptor the listing itself holds.
std::vector<std::string> OpenFiles() {
    const fs::path folder = fs::canonical("/proc/self/fd");
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::error_code gone;
        const fs::path file = fs::read_symlink(entry.path(), gone);
        if (!gone && file != folder) {
            files.push_back(file.string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

size_t Threads() {
    const fs::directory_iterator tasks("/proc/self/task");
    return static_cast<size_t>(std::distance(begin(tasks), end(tasks)));
}

}  // namespace

ProcessFigures ProcessFigures::Now() {
    const size_t threads = Threads();
    return {ResidentKb(), threads, OpenFiles()};
}

std::string ProcessFigures::Text() const {
    return std::to_string(residentKb) + " kB resident, " + std::to_string(threads) + " threads, " +
           std::to_string(openFiles.size()) + " open files";
}

std::vector<std::string> FilesLeftOpen(const ProcessFigures& start, const ProcessFigures& end) {
    std::vector<std::string> left;
    std::set_difference(end.openFiles.begin(), end.openFiles.end(), start.openFiles.begin(),
                        start.openFiles.end(), std::back_inserter(left));
    return left;
}

}  // namespace brennix::soak
