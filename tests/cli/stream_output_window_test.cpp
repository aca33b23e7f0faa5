#include "cli/stream_output_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/console_line_reader.h"
#include "cli/exchange_commands.h"

namespace brennix::cli {
namespace {

void AppendAll(StreamOutputWindow& window, const std::vector<std::string>& chunks) {
    for (const std::string& chunk : chunks) {
        window.Append(reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size());
    }
}

struct ShownCase {
    const char* name;
    StreamOutputWindow::Mode mode;
    std::vector<std::string> chunks;  // as the link hands them over
    std::string shown;                // after Finish
};

class StreamOutputWindowTest : public testing::TestWithParam<ShownCase> {};

TEST_P(StreamOutputWindowTest, ShowsLineEndsForItsStream) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    StreamOutputWindow window(stream, GetParam().mode);
    AppendAll(window, GetParam().chunks);
    window.Finish();
    std::string shown(4096, '\0');
    std::rewind(stream);
    shown.resize(std::fread(shown.data(), 1, shown.size(), stream));
    std::fclose(stream);
    EXPECT_EQ(shown, GetParam().shown);
}

using Mode = StreamOutputWindow::Mode;

INSTANTIATE_TEST_SUITE_P(
    Echo, StreamOutputWindowTest,
    testing::Values(
        // The instrument echoes a command with a lone CR; the reply must not overwrite it.
        ShownCase{"EchoThenReplyOnATerminal",
                  Mode::kTerminal,
                  {"Ver\r", "MRV 1.0\r\n>"},
                  "Ver\r\nMRV 1.0\r\n>\n"},
        ShownCase{"CrLfSplitAcrossChunks", Mode::kTerminal, {"a\r", "\nb\r\n"}, "a\r\nb\r\n"},
        ShownCase{"LoneLineFeed", Mode::kTerminal, {"a\nb\n"}, "a\r\nb\r\n"},
        ShownCase{"TextEndsAtANul", Mode::kTerminal, {std::string("ok\0junk", 7)}, "ok\n"},
        // A file or a pipe gets text lines, the last one ended too.
        ShownCase{"FileOrPipeGetsTextLinesAndALastLineEnd",
                  Mode::kLines,
                  {"Ver\r", "MRV\r\n>"},
                  "Ver\nMRV\n>\n"},
        ShownCase{"NothingShownNothingAdded", Mode::kTerminal, {""}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// What a line editor is told stands before the cursor after each piece of output.
class RecordingReader : public ConsoleLineReader {
  public:
    RecordingReader() : ConsoleLineReader(-1) {}
    void OutputShown(const std::string& lineSoFar) override { seen.push_back(lineSoFar); }
    std::vector<std::string> seen;
};

TEST(StreamOutputWindow, TellsTheLineEditorWhatStandsBeforeTheCursor) {
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    RecordingReader reader;
    StreamOutputWindow window(stream, StreamOutputWindow::Mode::kTerminal, &reader);
    AppendAll(window, {"Ver\r", "MRV 3.8\r\n>", "a\x08", std::string(70, 'x')});
    std::fclose(stream);
    // A control character or a line too long for a prompt leaves nothing to keep in front.
    EXPECT_EQ(reader.seen, (std::vector<std::string>{"", ">", "", ""}));
}

TEST(MenuLabel, FindsTheOneEntryTheLabelNames) {
    struct Case {
        std::string typed;
        std::string label;  // of the entry found; empty when refused
        std::string error;
    };
    for (const Case& c :
         {Case{"CellBegin", "CellBegin", ""}, Case{"cellbegin", "CellBegin", ""},
          Case{"SAVESETUP", "SaveSetup", ""},  // a repeated label is one command
          Case{"sensor", "Sensor", ""},        // the command, not its group
          Case{"Setup", "", "no Commands entry is labelled 'Setup'; menu --list shows them"}}) {
        const LabelMatch match = FindCommandsEntry(c.typed);
        EXPECT_EQ(match.entry ? std::string(match.entry->Label()) : "", c.label) << c.typed;
        EXPECT_EQ(match.error, c.error);
    }
}

}  // namespace
}  // namespace brennix::cli
