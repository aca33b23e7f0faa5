#include "instrument/config_reader.h"

namespace brennix {

CConfigReader::CConfigReader(CInstrument& instrument) : instrument_(instrument) {}

bool CConfigReader::ReadUserBlock() {
    return ReadBlock(kUser);
}

bool CConfigReader::ReadOperBlock() {
    return ReadBlock(kOper);
}

bool CConfigReader::ReadConfBlock() {
    return ReadBlock(kConf);
}

bool CConfigReader::ReadBlock(const BlockKind& kind) {
    block_.assign(kind.size, 0);
    if (!instrument_.ReadBlock(kind.command, block_, kBlockTimeoutMs)) {
        block_.clear();
        return false;
    }
    return true;
}

}  // namespace brennix
