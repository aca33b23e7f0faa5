#include "sim/wire_transcript.h"

namespace brennix::sim {

WireTranscript::~WireTranscript() {
    EndRecord();
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool WireTranscript::Open(const std::string& path) {
    // Binary, so that a transcript made on Windows compares equal to one made on Linux.
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

void WireTranscript::RateSet(uint32_t rate) {
    if (file_ == nullptr) {
        return;
    }
    EndRecord();
    std::fprintf(file_, "= %u\n", rate);
    std::fflush(file_);
}

void WireTranscript::Record(char direction, const uint8_t* data, size_t count) {
    if (file_ == nullptr) {
        return;
    }
    if (direction != direction_) {
        EndRecord();
        direction_ = direction;
    }
    for (size_t i = 0; i < count; ++i) {
        const uint8_t byte = data[i];
        if (byte == '\r') {
            record_ += "\\r";
        } else if (byte == '\n') {
            record_ += "\\n";
            EndRecord();
            direction_ = direction;
        } else if (byte >= 0x20 && byte < 0x7f && byte != '\\') {
            record_ += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            record_ += escaped;
        }
    }
}

void WireTranscript::EndRecord() {
    if (file_ != nullptr && !record_.empty()) {
        std::fprintf(file_, "%c %s\n", direction_, record_.c_str());
        std::fflush(file_);
    }
    record_.clear();
    direction_ = '\0';
}

}  // namespace brennix::sim
