#include "cli/setup_listing.h"

#include "records/json_writer.h"
#include "setup/control_table.h"
#include "setup/page_content.h"

namespace brennix::cli {

namespace {

// The home's controls in the order its page shows them; the start date stands for the whole
// picker.
PageListing ControlLines(const char* heading, ControlHome home, const SetupSheet& sheet) {
    using enum SetupControl;
    PageListing page{heading, {}};
    for (const ControlSpec* spec : ShownOrder(home)) {
        if (spec->control == kStartTime) {
            continue;
        }
        const std::string value = spec->control == kStartDate ? StartOnText(sheet.Value(kStartDate),
                                                                            sheet.Value(kStartTime))
                                                              : sheet.Value(spec->control);
        page.lines.emplace_back(PlainLabel(ControlLabel(spec->control, sheet.Units())), value);
    }
    return page;
}

PageListing InfoLines(const char* heading, const std::vector<InfoRow>& rows) {
    PageListing page{heading, {}};
    for (const InfoRow& row : rows) {
        page.lines.emplace_back(PlainLabel(row.label), row.text);
    }
    return page;
}

}  // namespace

SetupListing ListSetup(const SetupSheet& sheet, std::string days) {
    SetupListing listing;
    listing.units = sheet.Units() == UnitSystem::kEnglish ? "English" : "Metric";
    listing.pages.push_back(ControlLines("Deploy", ControlHome::kDeployPage, sheet));
    listing.pages.push_back(ControlLines("Advanced", ControlHome::kAdvancedPage, sheet));
    listing.pages.push_back(InfoLines("Hardware", HardwareRows(sheet.Record())));
    listing.pages.push_back(InfoLines("Options", OptionsRows(sheet.Record())));
    listing.days = std::move(days);
    return listing;
}

std::string ListingText(const SetupListing& listing) {
    std::string text;
    for (const PageListing& page : listing.pages) {
        text += "[" + page.heading + "]\n";
        for (const auto& [label, value] : page.lines) {
            text += label + ": " + value + "\n";
        }
        if (page.heading == "Deploy") {
            text += listing.days + "\n";
        }
    }
    return text;
}

std::string ListingJson(const SetupListing& listing) {
    std::string json = "{\"units\": " + JsonString(listing.units);
    for (const PageListing& page : listing.pages) {
        json += ", " + JsonString(page.heading) + ": {";
        const char* separator = "";
        for (const auto& [label, value] : page.lines) {
            json += separator + JsonString(label) + ": " + JsonString(value);
            separator = ", ";
        }
        if (page.heading == "Deploy") {
            json += std::string(separator) + "\"days\": " + JsonString(listing.days);
        }
        json += "}";
    }
    return json + "}\n";
}

}  // namespace brennix::cli
