#include "instrument/setup_reader.h"

#include "instrument/config_reader.h"

namespace brennix {

SetupRecordRead ReadSetupRecord(CInstrument& instrument) {
    CConfigReader reader(instrument);
    if (!reader.ReadConfBlock()) {
        return {std::nullopt, "get Conf"};
    }
    const ConfBlock conf(reader.Block().first<ConfBlock::kSize>());
    if (!reader.ReadUserBlock()) {
        return {std::nullopt, "get User"};
    }
    const UserBlock user(reader.Block().first<UserBlock::kSize>());
    if (!reader.ReadOperBlock()) {
        return {std::nullopt, "get Oper"};
    }
    const OperBlock oper(reader.Block().first<OperBlock::kSize>());
    return {SetupRecord(conf, user, oper), {}};
}

}  // namespace brennix
