#pragma once

#include <string>
#include <vector>

#include "records/deployment_record.h"

namespace brennix {

// Where the deployment records are kept: the folder "deployments" in OstrelData.
std::string RecordsFolder(const std::string& ostrelData);

// What writing a record came to: both files, or why neither was kept.
struct WrittenRecord {
    bool written = false;
    std::string jsonPath;
    std::string htmlPath;
    std::string error;  // the file and the system's reason
};

// Writes "<serial>_<YYYY-MM-DD_HHMMSS>.json" and the matching ".html" into the folder, creating
// it when missing. A serial number's characters that do not belong in a file name become "_"; an
// earlier record of the same second is never replaced (the new one gets "_2", ...). A file that
// cannot be written in full is removed with its partner.
WrittenRecord WriteDeploymentRecord(const std::string& folder, const DeploymentRecord& record);

// Makes the record of a deployment that has started and writes it into OstrelData/deployments.
WrittenRecord KeepDeploymentRecord(const RecordSources& sources, const std::string& ostrelData);

// What the front ends say of a record: where its two files are, or that it could not be written
// (the deployment has started all the same); one line each.
std::vector<std::string> RecordReport(const WrittenRecord& written);

// What keeping the record of a started deployment came to, as both front ends show it.
struct KeptRecord {
    bool written = false;
    std::vector<std::string> report;  // RecordReport's two lines; a path in them is UTF-8
};

// The one call of both front ends once a deployment has started: keeps its record (as
// KeepDeploymentRecord) and says what to show of it.
KeptRecord KeepRecordOfDeployment(const RecordSources& sources, const std::string& ostrelData);

// Said when a deployment did not start.
inline constexpr const char* kNoRecordText = "No deployment record: the deployment did not start.";

// One record in the folder, as its JSON says.
struct RecordEntry {
    std::string written;  // local time, "2026-05-17 10:20:30"
    std::string serialNumber;
    std::string fileName;  // the JSON file's
    std::string mode;
    std::string jsonPath;
    std::string htmlPath;  // empty when its HTML is missing
};

struct RecordListing {
    std::vector<RecordEntry> records;  // newest first
    // JSON files of the folder that are not deployment records.
    std::vector<std::string> skipped;
    // Why the folder could not be read; empty when it was, or does not exist yet.
    std::string error;
};

// The records in the folder; none when it does not exist.
RecordListing ListDeploymentRecords(const std::string& folder);

}  // namespace brennix
