#include "recorder/download_naming.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "instrument/instrument_codes.h"

namespace brennix {

namespace {

constexpr std::array<std::pair<int, const char*>, 7> kExtensions = {{
    {kKTX, ".ktx"},
    {kLMR, ".lmr"},
    {kMirovan, ".mrv"},
    {kFendrel, ".fnd"},
    {kMirovanAdv, ".mrv"},
    {kCorvex, ".crv"},
    {kPelorin, ".ktx"},
}};

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7E;

bool IsPrintable(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= kFirstPrintable && byte <= kLastPrintable;
}

bool IsUnsafe(char c) {
    return !IsPrintable(c) || c == '/' || c == '\\' || c == ':';
}

}  // namespace

const char* DownloadExtension(int model) {
    for (const auto& [code, extension] : kExtensions) {
        if (code == model) {
            return extension;
        }
    }
    return nullptr;
}

bool IsUsableFileName(std::string_view name) {
    const bool allDots = name.find_first_not_of('.') == std::string_view::npos;
    return !allDots && std::none_of(name.begin(), name.end(), IsUnsafe);
}

std::string PrintableName(std::string_view name) {
    std::string text;
    for (const char c : name) {
        if (IsPrintable(c)) {
            text += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
            text += escaped;
        }
    }
    return text;
}

}  // namespace brennix
