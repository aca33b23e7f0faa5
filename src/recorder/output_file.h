#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

namespace brennix {

// A downloaded file being written: created (or emptied) when opened, each block handed to the
// system as it comes, so what arrived is on disk even if the rest never does. Failures keep the
// system's error code and its text.
class OutputFile {
  public:
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    bool Write(std::span<const uint8_t> bytes);
    // Closes the file; false when the last bytes could not be stored.
    bool Close();

    int ErrorCode() const { return error_; }
    std::string ErrorText() const;

  private:
    bool Fail();

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, &std::fclose};
    int error_ = 0;
};

}  // namespace brennix
