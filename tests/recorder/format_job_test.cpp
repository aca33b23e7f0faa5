// Formatting on a scripted instrument on the virtual clock: the rounds, the instrument's own
// question answered once each time it is asked, and every way a format can end.
#include "recorder/format_job.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instrument/scripted_line.h"
#include "recording_listener.h"

namespace brennix::test {
namespace {

constexpr uint32_t kJobMs = 600000;
constexpr const char* kQuestion = "\r\nErase all files? YES or NO\r\n";

struct FormatLine : ScriptedLine {
    FormatLine() { device.replies["format"] = kQuestion; }

    // Runs a format to its end; the virtual time it took.
    uint32_t Format() {
        const uint32_t start = clock.TickCount();
        EXPECT_TRUE(job.Start());
        EXPECT_TRUE(job.WaitFinished(kJobMs));
        EXPECT_EQ(listener.Ended(), 1);
        return clock.TickCount() - start;
    }
    std::string WireAfterFormat() const {
        const std::string& wire = device.Wire();
        return wire.substr(wire.find("format\r") + 7);
    }

    RecordingListener listener;
    FormatJob job{instrument, listener};
};

TEST(FormatJob, AnswersTheQuestionAndEndsDoneWithAFullBar) {
    FormatLine line;
    line.device.replies["yes"] = "\r\nFormatting...\r\nOK\r\n>";
    line.Format();
    EXPECT_EQ(line.WireAfterFormat(), "yes\r");
    const std::vector<std::string> statuses = line.listener.Statuses();
    EXPECT_EQ(statuses, (std::vector<std::string>{"Formatting (1%)", "Done"}));
    EXPECT_EQ(line.listener.Range(), 100);
    EXPECT_EQ(line.listener.LastPosition(), 100);
    EXPECT_EQ(line.listener.Details(), std::vector<std::string>{""});
}

TEST(FormatJob, EachTimeTheInstrumentAsksItIsAnsweredOnce) {
    FormatLine line;
    line.device.replies["yes"] = "";
    line.device.Send("\r\nReally? YES or NO\r\n", 2000);
    line.device.Send("\r\nOK\r\n>", 4000);
    line.Format();
    EXPECT_EQ(line.WireAfterFormat(), "yes\ryes\r");
    EXPECT_EQ(line.listener.LastStatus(), "Done");
}

TEST(FormatJob, AnAbortByTheInstrumentIsShown) {
    FormatLine line;
    line.device.replies["yes"] = "\r\nFormat aborted\r\n>";
    line.Format();
    EXPECT_EQ(line.listener.LastStatus(), "Aborted");
    EXPECT_NE(line.listener.LastPosition(), 100);
}

// A hundred rounds of half a second and a pause each, then said to be unconfirmed, not done.
TEST(FormatJob, AFormatNeverConfirmedCountsItsRoundsAndSaysSo) {
    FormatLine line;
    line.device.replies["yes"] = "\r\nFormatting";
    const uint32_t took = line.Format();
    const std::vector<std::string> statuses = line.listener.Statuses();
    ASSERT_EQ(statuses.size(), 101u);
    EXPECT_EQ(statuses[99], "Formatting (100%)");
    EXPECT_EQ(statuses[100], "Not confirmed");
    EXPECT_EQ(line.listener.LastDetail(), "The instrument never confirmed the format");
    EXPECT_EQ(line.listener.LastPosition(), 99);
    EXPECT_GE(took, 100u * (500 + 10));
    EXPECT_LT(took, 100u * (500 + 10) + 2000);
}

TEST(FormatJob, AStopEndsItAtTheNextRoundTellingTheInstrument) {
    FormatLine line;
    line.device.replies["yes"] = "\r\nFormatting";
    ASSERT_TRUE(line.job.Start());
    line.clock.Sleep(2000);
    line.job.RequestStop();
    ASSERT_TRUE(line.job.WaitFinished(kJobMs));
    EXPECT_EQ(line.listener.LastStatus(), "Cancelled");
    EXPECT_EQ(line.WireAfterFormat(), "yes\rbbb \r");
}

TEST(FormatJob, AFormatCommandNobodyHearsFailsWithoutRounds) {
    FormatLine line;
    line.device.awake = false;
    line.Format();
    EXPECT_EQ(line.listener.Statuses(), std::vector<std::string>{"Format failed"});
    ASSERT_EQ(line.listener.Messages().size(), 1u);
    EXPECT_EQ(line.listener.Messages()[0].text, "FAIL TO LOCATE PROMPT");
}

}  // namespace
}  // namespace brennix::test
