#include "instrument/command_file.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>

namespace brennix {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsTextByte(unsigned char byte) {
    return (byte >= 0x20 && byte != 0x7F) || byte == '\t' || byte == '\r' || byte == '\n';
}

CommandFile Refused(std::string error) {
    return CommandFile{false, {}, std::move(error)};
}

}  // namespace

CommandFile ReadCommandFile(const std::string& path) {
    std::error_code status;
    if (std::filesystem::is_directory(path, status)) {
        return Refused("it is a folder; choose a command file inside it");
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        return Refused(std::strerror(errno));
    }
    CommandFile result{true, {}, {}};
    std::array<char, 4096> chunk;
    size_t count = 0;
    while ((count = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0) {
        result.text.append(chunk.data(), count);
    }
    if (std::ferror(file.get())) {
        return Refused(std::strerror(errno));
    }
    if (result.text.starts_with(kByteOrderMark)) {
        result.text.erase(0, kByteOrderMark.size());
    }
    for (size_t at = 0; at < result.text.size(); ++at) {
        const auto byte = static_cast<unsigned char>(result.text[at]);
        if (!IsTextByte(byte)) {
            char where[64];
            std::snprintf(where, sizeof where, "byte 0x%02X at offset %zu", byte, at);
            return Refused(std::string("it is not a text file (") + where + ")");
        }
    }
    return result;
}

std::string CommandFileRefusal(const std::string& action, const std::string& path,
                               const std::string& why) {
    return "Cannot " + action + " the command file\n" + path + ":\n" + why;
}

}  // namespace brennix
