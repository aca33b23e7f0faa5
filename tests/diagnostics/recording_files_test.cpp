// Recordings as the window writes them and plays them back.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "diagnostics/playback_reader.h"
#include "diagnostics/recording_writer.h"

namespace brennix::test {
namespace {

DiagnosticFile FileWith(const std::string& text) {
    DiagnosticFile file(std::tmpfile());
    std::fwrite(text.data(), 1, text.size(), file.get());
    std::rewind(file.get());
    return file;
}

std::string Line(int index) {
    return std::to_string(index) + " 1.25 10 20 30 40 50 60 70 80 90\n";
}

std::string Lines(int first, int last) {
    std::string text;
    for (int index = first; index <= last; ++index) {
        text += Line(index);
    }
    return text;
}

std::vector<size_t> FrameSizes(const std::string& text) {
    PlaybackReader reader(FileWith(text));
    std::vector<size_t> sizes;
    while (const auto frame = reader.NextFrame()) {
        sizes.push_back(frame->cells);
    }
    return sizes;
}

struct PlaybackCase {
    const char* name;
    std::string text;
    std::vector<size_t> frames;
};

TEST(Playback, FramesAreRunsOfRisingCellIndices) {
    const PlaybackCase cases[] = {
        // The line that breaks a run starts the next frame instead of being lost.
        {"TwoRunsOfFive", Lines(0, 4) + Lines(0, 4), {5, 5}},
        {"ARepeatedIndexEndsAFrame", Lines(0, 2) + Lines(2, 4), {3, 3}},
        {"GapsInRisingIndicesStayOneFrame", Line(0) + Line(5) + Line(9), {3}},
        {"MoreThan512RisingIndicesAreCut", Lines(0, 599), {512, 88}},
        {"BlankLinesAsTheWindowWritesThem", "\n" + Line(0) + "\n" + Line(1), {2}},
        {"CarriageReturnsSeparateToo",
         "0 1.0 1 2 3 4 5 6 7 8 9\r\n1 1.1 1 2 3 4 5 6 7 8 9\r\n",
         {2}},
        {"LastLineWithoutLineEnd", Lines(0, 1) + "2 1.0 1 2 3 4 5 6 7 8 9", {3}},
        {"TooLongLineIsSkipped",
         Line(0) + "1 1.0 1 2 3 4 5 6 7 8 9" + std::string(600, ' ') + "\n" + Line(2),
         {2}},
        {"LongestLineIsRead",
         Line(0) + "1 1.0 1 2 3 4 5 6 7 8 9" + std::string(512 - 23, ' ') + "\n",
         {2}},
        {"NotARecordingAtAll", std::string("\x89PNG\r\n\x1a\n\0\0\0IHDR", 16), {}},
        {"EmptyFile", "", {}},
    };
    for (const PlaybackCase& c : cases) {
        EXPECT_EQ(FrameSizes(c.text), c.frames) << c.name;
    }
}

// Complete lines, extra numbers ignored; then too few, above 255, negative, a word, tabs, no range.
TEST(RecordedLine, NeedsElevenNumbersOfTheirKind) {
    for (const char* line :
         {"  3   0.48 255   0  12 128 127 126 1 2 3", "3 0.48 1 2 3 4 5 6 7 8 9 10 11"}) {
        EXPECT_TRUE(ParseRecordedLine(line)) << line;
    }
    for (const char* line :
         {"3 0.48 1 2 3 4 5 6 7 8", "3 0.48 1 2 3 4 5 6 7 8 256", "3 0.48 1 2 3 4 5 -6 7 8 9",
          "-3 0.48 1 2 3 4 5 6 7 8 9", "3 0.48 1 2 three 4 5 6 7 8 9", "3\t0.48 1 2 3 4 5 6 7 8 9",
          "3 nan 1 2 3 4 5 6 7 8 9"}) {
        EXPECT_FALSE(ParseRecordedLine(line)) << line;
    }
}

BeamFrame TwoCells() {
    BeamFrame frame;
    frame.cells = 2;
    frame.range = {0.35f, 1234.567f};
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        frame.amplitude[beam] = {static_cast<uint8_t>(beam), 255};
        frame.cosine[beam] = {static_cast<uint8_t>(10 + beam), 7};
        frame.sine[beam] = {static_cast<uint8_t>(20 + beam), 99};
    }
    return frame;
}

TEST(Recording, EachLineStartsWithALineFeedInTheFixedColumns) {
    EXPECT_EQ(FormatRecordedFrame(TwoCells()),
              "\n  0   0.35   0   1   2  10  11  12  20  21  22"
              "\n  1 1234.57 255 255 255   7   7   7  99  99  99");
}

// What is recorded plays back as the same beams.
TEST(Recording, PlaysBackAsTheFrameThatWasRecorded) {
    const BeamFrame recorded = TwoCells();
    PlaybackReader reader(FileWith(FormatRecordedFrame(recorded)));
    const std::optional<BeamFrame> played = reader.NextFrame();
    ASSERT_TRUE(played);
    ASSERT_EQ(played->cells, 2u);
    // The range is written with two decimals.
    EXPECT_NEAR(played->range[1], recorded.range[1], 0.005);
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        for (size_t cell = 0; cell < 2; ++cell) {
            EXPECT_EQ(played->amplitude[beam][cell], recorded.amplitude[beam][cell]);
            EXPECT_EQ(played->cosine[beam][cell], recorded.cosine[beam][cell]);
            EXPECT_EQ(played->sine[beam][cell], recorded.sine[beam][cell]);
        }
    }
}

}  // namespace
}  // namespace brennix::test
