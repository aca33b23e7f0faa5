#pragma once

#include <cstdio>
#include <cstring>

#include "link/output_window.h"

namespace brennix::cli {

// Writes the link's echo to a stream unprocessed, exactly as the log file receives it.
class StreamOutputWindow : public OutputWindow {
  public:
    explicit StreamOutputWindow(std::FILE* stream) : stream_(stream) {}

    void Append(const uint8_t* bytes, size_t length) override {
        const void* zero = std::memchr(bytes, 0, length);
        const size_t shown =
            zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes) : length;
        std::fwrite(bytes, 1, shown, stream_);
        std::fflush(stream_);
    }

  private:
    std::FILE* stream_;
};

}  // namespace brennix::cli
