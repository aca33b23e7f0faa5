#include "diagnostics/playback_reader.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

namespace brennix {

namespace {

constexpr std::string_view kSeparators = " \r\n";

// The next token of text from pos on; empty when none is left.
std::string_view NextToken(std::string_view text, size_t& pos) {
    const size_t start = text.find_first_not_of(kSeparators, pos);
    if (start == std::string_view::npos) {
        pos = text.size();
        return {};
    }
    const size_t end = std::min(text.find_first_of(kSeparators, start), text.size());
    pos = end;
    return text.substr(start, end - start);
}

template <typename Number>
bool ParseWhole(std::string_view token, Number& value) {
    const char* end = token.data() + token.size();
    const auto [next, error] = std::from_chars(token.data(), end, value);
    return !token.empty() && error == std::errc() && next == end;
}

bool ParseByte(std::string_view token, uint8_t& value) {
    int number = 0;
    if (!ParseWhole(token, number) || number < 0 || number > std::numeric_limits<uint8_t>::max()) {
        return false;
    }
    value = static_cast<uint8_t>(number);
    return true;
}

bool ParseRange(std::string_view token, float& value) {
    double number = 0.0;
    if (!ParseWhole(token, number) || !std::isfinite(number) ||
        std::fabs(number) > std::numeric_limits<float>::max()) {
        return false;
    }
    value = static_cast<float>(number);
    return true;
}

void Append(const RecordedCell& cell, BeamFrame& frame) {
    const size_t at = frame.cells++;
    frame.range[at] = cell.range;
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        frame.amplitude[beam][at] = cell.amplitude[beam];
        frame.cosine[beam][at] = cell.cosine[beam];
        frame.sine[beam][at] = cell.sine[beam];
    }
}

}  // namespace

std::optional<RecordedCell> ParseRecordedLine(std::string_view line) {
    RecordedCell cell;
    size_t pos = 0;
    if (!ParseWhole(NextToken(line, pos), cell.index) || cell.index < 0 ||
        !ParseRange(NextToken(line, pos), cell.range)) {
        return std::nullopt;
    }
    for (auto* values : {&cell.amplitude, &cell.cosine, &cell.sine}) {
        for (uint8_t& value : *values) {
            if (!ParseByte(NextToken(line, pos), value)) {
                return std::nullopt;
            }
        }
    }
    return cell;
}

PlaybackReader::PlaybackReader(DiagnosticFile file) : file_(std::move(file)) {}

std::optional<BeamFrame> PlaybackReader::NextFrame() {
    BeamFrame frame;
    int previous = -1;
    std::optional<RecordedCell> cell =
        carried_ ? std::exchange(carried_, std::nullopt) : NextCell();
    for (; cell; cell = NextCell()) {
        if (frame.cells > 0 && (cell->index <= previous || frame.cells == kMaxCells)) {
            carried_ = cell;
            break;
        }
        Append(*cell, frame);
        previous = cell->index;
    }
    if (frame.cells == 0) {
        return std::nullopt;
    }
    return frame;
}

std::optional<RecordedCell> PlaybackReader::NextCell() {
    std::string line;
    bool overlong = false;
    while (ReadLine(line, overlong)) {
        if (overlong) {
            continue;
        }
        if (std::optional<RecordedCell> cell = ParseRecordedLine(line)) {
            return cell;
        }
    }
    return std::nullopt;
}

bool PlaybackReader::ReadLine(std::string& line, bool& overlong) {
    line.clear();
    overlong = false;
    int c = std::getc(file_.get());
    if (c == EOF) {
        return false;
    }
    for (; c != EOF && c != '\n'; c = std::getc(file_.get())) {
        if (line.size() == kMaxLineLength) {
            overlong = true;
        } else {
            line.push_back(static_cast<char>(c));
        }
    }
    return true;
}

}  // namespace brennix
