#pragma once

#include <string>

#include "records/deployment_record.h"

namespace brennix {

// The record as a deployment sheet: an HTML page that prints on one or two A4 pages, with the
// amplitude plot as a picture inside it.
std::string RecordHtml(const DeploymentRecord& record);

// Text for an HTML page: markup characters escaped, 8-bit text as UTF-8.
std::string HtmlText(std::string_view text);

}  // namespace brennix
