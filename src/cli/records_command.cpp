#include "cli/records_command.h"

#include "platform/ostrel_data_folder.h"
#include "records/json_writer.h"
#include "records/record_files.h"

namespace brennix::cli {

namespace {

std::string ListingJson(const RecordListing& listing) {
    JsonWriter json;
    json.BeginArray();
    for (const RecordEntry& entry : listing.records) {
        json.BeginObject()
            .String("written", entry.written)
            .String("serialNumber", entry.serialNumber)
            .String("mode", entry.mode)
            .String("file", entry.fileName)
            .String("json", entry.jsonPath)
            .String("html", entry.htmlPath)
            .EndObject();
    }
    return json.EndArray().Text();
}

}  // namespace

bool RecordsCommand::Parse(CommandArguments& arguments) {
    json_ = arguments.TakeFlag("--json");
    return arguments.Finish();
}

int RecordsCommand::Run(CliSession&) {
    return RunWithoutPort(stdout).value_or(kExitFailed);
}

// The file names come from the folder and the fields from the files, which the program wrote
// as UTF-8; both are shown as they are.
std::optional<int> RecordsCommand::RunWithoutPort(std::FILE* out) {
    const std::string folder = RecordsFolder(OstrelDataFolder());
    const RecordListing listing = ListDeploymentRecords(folder);
    if (!listing.error.empty()) {
        std::fprintf(stderr, "brennix-cli: cannot read the records: %s\n", listing.error.c_str());
        return kExitFailed;
    }
    for (const std::string& skipped : listing.skipped) {
        std::fprintf(stderr, "brennix-cli: %s is not a deployment record; skipped\n",
                     skipped.c_str());
    }
    if (json_) {
        std::fputs(ListingJson(listing).c_str(), out);
        return kExitOk;
    }
    if (listing.records.empty()) {
        std::fprintf(out, "No deployment records in %s\n", folder.c_str());
        return kExitOk;
    }
    std::fprintf(out, "Deployment records in %s:\n", folder.c_str());
    for (const RecordEntry& entry : listing.records) {
        std::fprintf(out, "%-19s  %-12s %-8s  %s\n", entry.written.c_str(),
                     entry.serialNumber.c_str(), entry.mode.c_str(), entry.fileName.c_str());
    }
    return kExitOk;
}

}  // namespace brennix::cli
