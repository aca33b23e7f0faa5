#pragma once

#include <cstdint>

namespace brennix::sim {

// RS-485 addressing: an instrument with an address listens only after the host has sent
// 0xF0 three times and then 0xF0 | address, and until another address is selected (0xF0 four
// times selects none). Address 0 is plain RS-232, which always listens and treats 0xF0 as data.
class Rs485Selector {
  public:
    explicit Rs485Selector(uint32_t address);

    // True when the byte is data for this instrument; selection bytes never are.
    bool Take(uint8_t byte);
    bool Selected() const { return selected_; }

  private:
    static constexpr uint8_t kSelectPrefix = 0xF0;
    static constexpr int kPrefixCount = 3;

    uint32_t address_;
    bool selected_;
    int prefixSeen_ = 0;
};

}  // namespace brennix::sim
