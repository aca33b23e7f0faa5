#include "soak/process_figures.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace brennix::soak {

namespace {

namespace fs = std::filesystem;

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
