#include "records/record_files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <tuple>

#include "platform/new_file.h"
#include "records/json_reader.h"
#include "records/record_html.h"
#include "records/record_json.h"
#include "records/record_time.h"

namespace brennix {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxSameSecond = 100;

std::string FileNamePart(const std::string& serial) {
    std::string part;
    for (const char c : serial) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte < 0x80 && std::isalnum(byte)) || c == '-' || c == '.';
        part += plain ? c : '_';
    }
    return part.empty() || part.find_first_not_of('.') == std::string::npos ? "unknown" : part;
}

// Creates the file anew (never over another) and writes all of it; the reason when it cannot.
std::string WriteNewFile(const std::string& path, const std::string& text) {
    std::FILE* file = OpenNewFile(path);
    if (file == nullptr) {
        return path + ": " + std::strerror(errno);
    }
    const bool written =
        std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (written && closed) {
        return {};
    }
    std::remove(path.c_str());
    return path + ": " + std::strerror(written ? errno : writeError);
}

// The first base name of the second that no record holds yet.
std::string FreeBaseName(const fs::path& folder, const std::string& stem) {
    for (int n = 1; n <= kMaxSameSecond; ++n) {
        const std::string base = n == 1 ? stem : stem + "_" + std::to_string(n);
        std::error_code error;
        if (!fs::exists(folder / (base + ".json"), error) &&
            !fs::exists(folder / (base + ".html"), error)) {
            return base;
        }
    }
    return stem;
}

std::optional<RecordEntry> ReadEntry(const fs::path& json) {
    std::ifstream file(json, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), {});
    const std::optional<JsonValue> document = ParseJson(text);
    const JsonValue* format = document ? document->Find("format") : nullptr;
    if (!format || format->kind != JsonValue::Kind::kNumber) {
        return std::nullopt;
    }
    const JsonValue* written = document->Find("written");
    const JsonValue* instrument = document->Find("instrument");
    const JsonValue* deployment = document->Find("deployment");
    std::string local = written ? written->TextOf("local") : "";
    std::replace(local.begin(), local.end(), 'T', ' ');
    fs::path html = json;
    html.replace_extension(".html");
    std::error_code error;
    return RecordEntry{local.substr(0, 19),
                       instrument ? instrument->TextOf("serialNumber") : "",
                       json.filename().string(),
                       deployment ? deployment->TextOf("mode") : "",
                       json.string(),
                       fs::exists(html, error) ? html.string() : std::string()};
}

}  // namespace

std::string RecordsFolder(const std::string& ostrelData) {
    return (fs::path(ostrelData) / "deployments").string();
}

WrittenRecord WriteDeploymentRecord(const std::string& folder, const DeploymentRecord& record) {
    WrittenRecord result;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        result.error = folder + ": " + error.message();
        return result;
    }
    const std::string base = FreeBaseName(
        folder, FileNamePart(record.serialNumber) + "_" + LocalFileStamp(record.writtenAt));
    result.jsonPath = (fs::path(folder) / (base + ".json")).string();
    result.htmlPath = (fs::path(folder) / (base + ".html")).string();
    result.error = WriteNewFile(result.jsonPath, RecordJson(record));
    if (result.error.empty()) {
        result.error = WriteNewFile(result.htmlPath, RecordHtml(record));
        if (!result.error.empty()) {
            std::remove(result.jsonPath.c_str());
        }
    }
    result.written = result.error.empty();
    return result;
}

WrittenRecord KeepDeploymentRecord(const RecordSources& sources, const std::string& ostrelData) {
    return WriteDeploymentRecord(RecordsFolder(ostrelData), MakeDeploymentRecord(sources));
}

std::vector<std::string> RecordReport(const WrittenRecord& written) {
    if (!written.written) {
        return {"The deployment record could not be written: " + written.error,
                "The deployment has started all the same."};
    }
    return {"Deployment record: " + written.jsonPath, "Deployment sheet: " + written.htmlPath};
}

KeptRecord KeepRecordOfDeployment(const RecordSources& sources, const std::string& ostrelData) {
    const WrittenRecord written = KeepDeploymentRecord(sources, ostrelData);
    return {written.written, RecordReport(written)};
}

RecordListing ListDeploymentRecords(const std::string& folder) {
    RecordListing listing;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path path = it->path();
        if (path.extension() != ".json" || !it->is_regular_file(error)) {
            continue;
        }
        if (std::optional<RecordEntry> entry = ReadEntry(path)) {
            listing.records.push_back(std::move(*entry));
        } else {
            listing.skipped.push_back(path.filename().string());
        }
    }
    if (error && error != std::errc::no_such_file_or_directory) {
        listing.error = folder + ": " + error.message();
    }
    std::sort(listing.records.begin(), listing.records.end(),
              [](const RecordEntry& a, const RecordEntry& b) {
                  return std::tie(a.written, a.fileName) > std::tie(b.written, b.fileName);
              });
    std::sort(listing.skipped.begin(), listing.skipped.end());
    return listing;
}

}  // namespace brennix
