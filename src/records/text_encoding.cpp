#include "records/text_encoding.h"

#include <algorithm>
#include <cstdint>

namespace brennix {

std::string Utf8FromLatin1(std::string_view text) {
    std::string utf8;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

std::string Base64(std::string_view bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const size_t count = std::min<size_t>(3, bytes.size() - at);
        uint32_t group = 0;
        for (size_t i = 0; i < 3; ++i) {
            const auto byte = i < count ? static_cast<unsigned char>(bytes[at + i]) : 0u;
            group = (group << 8) | byte;
        }
        for (size_t i = 0; i < 4; ++i) {
            text += i <= count ? kDigits[(group >> (18 - 6 * i)) & 0x3F] : '=';
        }
    }
    return text;
}

}  // namespace brennix
