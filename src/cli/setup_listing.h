#pragma once

#include <string>
#include <utility>
#include <vector>

#include "setup/setup_sheet.h"

namespace brennix::cli {

// What the four pages of the setup sheet show, as lines for the console: one "Label: value" per
// control, labels as the page shows them without the trailing colon.
struct PageListing {
    std::string heading;  // "Deploy", "Advanced", "Hardware", "Options"
    std::vector<std::pair<std::string, std::string>> lines;
};

struct SetupListing {
    std::string units;  // "Metric" or "English"
    std::vector<PageListing> pages;
    std::string days;  // the Deploy page's days text
};

// The listing of a sheet whose four pages have been shown; days is the Deploy page's text as it
// showed when the sheet opened, before the other pages' loads.
SetupListing ListSetup(const SetupSheet& sheet, std::string days);

// "[Deploy]" and "Label: value" lines, the days line at the end of the Deploy section.
std::string ListingText(const SetupListing& listing);
// The same as one JSON object; 8-bit text is taken as Latin-1.
std::string ListingJson(const SetupListing& listing);

}  // namespace brennix::cli
