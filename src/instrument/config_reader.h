#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "instrument/instrument.h"

namespace brennix {

// Reads the instrument's three configuration blocks, each as a framed block after its command:
// "get Conf" (96 bytes), "get User" (258) and "get Oper" (64), 15 s each. The block read last is
// kept until the next read; a failed read keeps nothing.
class CConfigReader {
  public:
    static constexpr size_t kConfSize = 96;
    static constexpr size_t kUserSize = 258;
    static constexpr size_t kOperSize = 64;
    static constexpr uint32_t kBlockTimeoutMs = 15000;

    // A block by its name, the command that asks for it and its size.
    struct BlockKind {
        const char* label;
        const char* command;
        size_t size;
    };
    static constexpr BlockKind kConf{"Conf", "get Conf", kConfSize};
    static constexpr BlockKind kUser{"User", "get User", kUserSize};
    static constexpr BlockKind kOper{"Oper", "get Oper", kOperSize};
    // In the order the configuration dump shows them.
    static constexpr std::array<BlockKind, 3> kBlocks{kConf, kUser, kOper};

    explicit CConfigReader(CInstrument& instrument);
    virtual ~CConfigReader() = default;

    virtual bool ReadUserBlock();
    virtual bool ReadOperBlock();
    virtual bool ReadConfBlock();
    bool ReadBlock(const BlockKind& kind);

    // The block read last; empty after a failed read.
    std::span<const uint8_t> Block() const { return block_; }

  private:
    CInstrument& instrument_;
    std::vector<uint8_t> block_;
};

}  // namespace brennix
