#include "recorder/output_file.h"

#include <cerrno>
#include <system_error>

namespace brennix {

bool OutputFile::Open(const std::string& path) {
    Close();
    errno = 0;
    file_.reset(std::fopen(path.c_str(), "wb"));
    if (!file_) {
        return Fail();
    }
    // Unbuffered: a full disk shows at the block that did not fit, not later at the close.
    std::setvbuf(file_.get(), nullptr, _IONBF, 0);
    return true;
}

bool OutputFile::Write(std::span<const uint8_t> bytes) {
    if (!file_) {
        return false;
    }
    errno = 0;
    return std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) == bytes.size() || Fail();
}

bool OutputFile::Close() {
    if (!file_) {
        return true;
    }
    errno = 0;
    return std::fclose(file_.release()) == 0 || Fail();
}

std::string OutputFile::ErrorText() const {
    return std::error_code(error_, std::generic_category()).message();
}

bool OutputFile::Fail() {
    error_ = errno != 0 ? errno : EIO;
    return false;
}

}  // namespace brennix
