#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace brennix::sim {

// A readable record of both directions of the line, for comparing what two versions of a host
// program send and hear: one record per line the bytes carry, "> " for what the host wrote,
// "< " for what the instrument sent, "= " for a rate the host set. Bytes outside printable ASCII
// are written as \r, \n or \xNN.
class WireTranscript {
  public:
    WireTranscript() = default;
    ~WireTranscript();
    WireTranscript(const WireTranscript&) = delete;
    WireTranscript& operator=(const WireTranscript&) = delete;

    // Creates (or empties) the file; nothing is recorded before. False, with errno set, when it
    // cannot be created.
    bool Open(const std::string& path);

    void HostWrote(const uint8_t* data, size_t count) { Record('>', data, count); }
    void InstrumentSent(const uint8_t* data, size_t count) { Record('<', data, count); }
    void RateSet(uint32_t rate);

  private:
    void Record(char direction, const uint8_t* data, size_t count);
    void EndRecord();

    std::FILE* file_ = nullptr;
    char direction_ = '\0';
    std::string record_;
};

}  // namespace brennix::sim
