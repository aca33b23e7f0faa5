#pragma once

#include <optional>
#include <string>

#include "instrument/instrument.h"
#include "instrument/setup_record.h"

namespace brennix {

// The record as the setup sheet opens on it, or the command whose block did not come.
struct SetupRecordRead {
    std::optional<SetupRecord> record;
    std::string unreadBlock;  // "get Conf", "get User" or "get Oper"; empty when read
};

// Reads "get Conf", "get User" and "get Oper" in that order and joins them; stops at the first
// block that does not arrive whole with a correct checksum.
SetupRecordRead ReadSetupRecord(CInstrument& instrument);

}  // namespace brennix
