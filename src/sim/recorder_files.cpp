#include "sim/recorder_files.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/calendar_time.h"

namespace brennix::sim {

namespace {

constexpr size_t kMaxNameLength = 12;
constexpr uintmax_t kMaxFileSize = UINT32_MAX;

// Bytes from a fixed seed, so a sample file is the same wherever it is generated.
std::string SampleData(size_t size, uint32_t seed) {
    std::string data(size, '\0');
    uint32_t state = seed;
    for (char& byte : data) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state >> 24);
    }
    return data;
}

void DateFromFile(const std::filesystem::path& path, RecorderFile& file) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(path, error);
    if (error) {
        return;
    }
    const std::tm local = LocalCalendarTime(
        std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written)));
    file.year = local.tm_year + 1900;
    file.month = local.tm_mon + 1;
    file.day = local.tm_mday;
    file.hour = local.tm_hour;
    file.minute = local.tm_min;
    file.second = local.tm_sec;
}

bool ReadData(const std::filesystem::path& path, std::string& data) {
    std::ifstream stream(path, std::ios::binary);
    data.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    return !stream.bad();
}

}  // namespace

std::vector<RecorderFile> SampleRecorderFiles() {
    return {
        {"DEP1.000", SampleData(96 * 1024, 0x1D2E3F40u), 2026, 3, 14, 9, 30, 0},
        {"DEP1.001", SampleData(24 * 1024 + 300, 0x51627384u), 2026, 3, 21, 16, 5, 12},
        {"TEST.000", SampleData(700, 0x95A6B7C8u), 2026, 4, 2, 11, 47, 31},
    };
}

RecorderFolder LoadRecorderFolder(const std::string& path) {
    RecorderFolder folder;
    std::error_code error;
    std::filesystem::directory_iterator entries(path, error);
    if (error) {
        folder.error = "cannot read the recorder folder " + path + ": " + error.message();
        return folder;
    }
    for (const std::filesystem::directory_entry& entry : entries) {
        if (!entry.is_regular_file(error)) {
            continue;
        }
        RecorderFile file;
        file.name = entry.path().filename().string();
        if (file.name.size() > kMaxNameLength || entry.file_size(error) > kMaxFileSize) {
            folder.skipped.push_back(file.name);
            continue;
        }
        if (!ReadData(entry.path(), file.data)) {
            folder.error = "cannot read " + entry.path().string();
            return folder;
        }
        DateFromFile(entry.path(), file);
        folder.files.push_back(std::move(file));
    }
    std::sort(folder.files.begin(), folder.files.end(),
              [](const RecorderFile& a, const RecorderFile& b) { return a.name < b.name; });
    return folder;
}

}  // namespace brennix::sim
