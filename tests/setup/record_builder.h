#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "instrument/setup_record.h"

namespace brennix::test {

// A record built byte by byte at the offsets the instrument uses, for tests:
//
//   SetupRecord record = RecordBuilder().Conf(25, 0x21).User(254, 1).Build();
class RecordBuilder {
  public:
    RecordBuilder() : bytes_(SetupRecord::kSize, 0) {}

    RecordBuilder& Conf(size_t offset, uint8_t value) { return Put(offset, value); }
    RecordBuilder& User(size_t offset, uint8_t value) {
        return Put(SetupRecord::kUserOffset + offset, value);
    }
    // Bytes from the offset on: a field of several bytes, low byte first.
    RecordBuilder& User(size_t offset, std::initializer_list<uint8_t> values) {
        for (const uint8_t value : values) {
            User(offset++, value);
        }
        return *this;
    }
    RecordBuilder& Oper(size_t offset, uint8_t value) {
        return Put(SetupRecord::kOperOffset + offset, value);
    }
    SetupRecord Build() const { return *SetupRecord::FromBytes(bytes_); }

  private:
    RecordBuilder& Put(size_t offset, uint8_t value) {
        bytes_[offset] = value;
        return *this;
    }

    std::vector<uint8_t> bytes_;
};

}  // namespace brennix::test
