#include "diagnostics/recording_writer.h"

#include <array>
#include <cstdio>

#include "platform/number_text.h"

namespace brennix {

namespace {

constexpr int kRangeDecimals = 2;
constexpr size_t kRangeWidth = 6;

// "%3d" or "%3u" with a blank before it.
void AppendField(std::string& text, unsigned value) {
    std::array<char, 16> field{};
    const int length = std::snprintf(field.data(), field.size(), " %3u", value);
    text.append(field.data(), static_cast<size_t>(length));
}

}  // namespace

// Each line is "\n%3d %6.2f" and nine "%3u", the range written with a point in every locale.
std::string FormatRecordedFrame(const BeamFrame& frame) {
    std::string text;
    for (size_t cell = 0; cell < frame.cells; ++cell) {
        std::array<char, 16> index{};
        const int length =
            std::snprintf(index.data(), index.size(), "\n%3u", static_cast<unsigned>(cell));
        text.append(index.data(), static_cast<size_t>(length));
        text += ' ' + FixedText(frame.range[cell], kRangeDecimals, kRangeWidth);
        for (const auto* values : {&frame.amplitude, &frame.cosine, &frame.sine}) {
            for (size_t beam = 0; beam < kBeamCount; ++beam) {
                AppendField(text, (*values)[beam][cell]);
            }
        }
    }
    return text;
}

bool WriteRecordedFrame(std::FILE* file, const BeamFrame& frame) {
    const std::string text = FormatRecordedFrame(frame);
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fflush(file) == 0 && written;
}

}  // namespace brennix
