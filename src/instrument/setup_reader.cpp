#include "instrument/setup_reader.h"

#include "instrument/config_reader.h"

namespace brennix {

namespace {

std::string Failure(const char* command) {
    return std::string("The instrument's configuration could not be read: no valid answer to \"") +
           command + "\".\nCheck the cable and try again.";
}

}  // namespace

SetupRecordRead ReadSetupRecord(CInstrument& instrument) {
    CConfigReader reader(instrument);
    if (!reader.ReadConfBlock()) {
        return {std::nullopt, Failure("get Conf")};
    }
    const ConfBlock conf(reader.Block().first<ConfBlock::kSize>());
    if (!reader.ReadUserBlock()) {
        return {std::nullopt, Failure("get User")};
    }
    const UserBlock user(reader.Block().first<UserBlock::kSize>());
    if (!reader.ReadOperBlock()) {
        return {std::nullopt, Failure("get Oper")};
    }
    const OperBlock oper(reader.Block().first<OperBlock::kSize>());
    return {SetupRecord(conf, user, oper), {}};
}

}  // namespace brennix
