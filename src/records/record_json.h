#pragma once

#include <string>

#include "records/deployment_record.h"

namespace brennix {

// The version of the record's JSON layout, its "format" field. A reader that meets a higher one
// knows fields may have changed meaning.
inline constexpr int kRecordFormat = 1;

// The record as a JSON document (the README describes its fields).
std::string RecordJson(const DeploymentRecord& record);

}  // namespace brennix
