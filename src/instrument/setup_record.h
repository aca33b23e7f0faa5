#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "instrument/conf_block.h"
#include "instrument/oper_block.h"
#include "instrument/user_block.h"

namespace brennix {

// The instrument's whole configuration as the setup sheet holds it: the Conf, User and Oper
// blocks one after the other, 418 bytes, exactly as the instrument sent them. Nothing of it is
// ever sent back as a block: settings go out as text commands and are stored here once accepted.
class SetupRecord {
  public:
    static constexpr size_t kSize = ConfBlock::kSize + UserBlock::kSize + OperBlock::kSize;
    static constexpr size_t kUserOffset = ConfBlock::kSize;
    static constexpr size_t kOperOffset = kUserOffset + UserBlock::kSize;

    SetupRecord() = default;
    SetupRecord(const ConfBlock& conf, const UserBlock& user, const OperBlock& oper)
        : conf_(conf), user_(user), oper_(oper) {}
    // None unless bytes holds exactly the 418 bytes of a record.
    static std::optional<SetupRecord> FromBytes(std::span<const uint8_t> bytes);

    std::array<uint8_t, kSize> Bytes() const;

    const ConfBlock& Conf() const { return conf_; }
    ConfBlock& Conf() { return conf_; }
    const UserBlock& User() const { return user_; }
    UserBlock& User() { return user_; }
    const OperBlock& Oper() const { return oper_; }
    OperBlock& Oper() { return oper_; }

  private:
    ConfBlock conf_;
    UserBlock user_;
    OperBlock oper_;
};

}  // namespace brennix
