#include "instrument/config_reader.h"

namespace brennix {

CConfigReader::CConfigReader(CInstrument& instrument) : instrument_(instrument) {}

bool CConfigReader::ReadUserBlock() {
    return Read("get User", kUserSize);
}

bool CConfigReader::ReadOperBlock() {
    return Read("get Oper", kOperSize);
}

bool CConfigReader::ReadConfBlock() {
    return Read("get Conf", kConfSize);
}

bool CConfigReader::Read(const char* command, size_t size) {
    block_.assign(size, 0);
    if (!instrument_.ReadBlock(command, block_, kBlockTimeoutMs)) {
        block_.clear();
        return false;
    }
    return true;
}

}  // namespace brennix
