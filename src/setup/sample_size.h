#pragma once

#include <cstdint>

#include "instrument/setup_record.h"

namespace brennix {

// The size in bytes of one sample the instrument records with this configuration: the base
// record of its system type, data format and firmware (or the profile, when profiling), plus the
// sensors and wave data it adds. Can be 0 or less for a record with no beams or no cells.
int64_t BytesPerSample(const SetupRecord& record);

}  // namespace brennix
