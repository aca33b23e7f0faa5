#include "cli/console_ui_host.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace brennix::cli {
namespace {

using Meaning = ConsoleUiHost::InterruptMeaning;
constexpr int64_t kSecond = 1'000'000'000;

class ConsoleInterruptTest : public ::testing::Test {
  protected:
    VirtualClock clock_;
    ConsoleLineReader input_{-1};
    ConsoleUiHost ui_{clock_, input_, stderr};
    int stops_ = 0;

    void SetUp() override {
        ui_.SetInterruptHandler([this] { ++stops_; });
    }
};

// A signal sent to the program and to its group arrives twice at once; a person who means to end
// the program presses again later. Neither must be taken for the other.
TEST_F(ConsoleInterruptTest, OnlyALaterSecondCtrlCEndsTheProgram) {
    EXPECT_EQ(ui_.TakeInterrupt(5 * kSecond), Meaning::kStop);
    EXPECT_EQ(ui_.TakeInterrupt(5 * kSecond + 1000), Meaning::kRepeated);
    EXPECT_EQ(ui_.TakeInterrupt(6 * kSecond - 1), Meaning::kRepeated);
    EXPECT_EQ(ui_.TakeInterrupt(6 * kSecond), Meaning::kEndNow);
}

TEST_F(ConsoleInterruptTest, OnceActedOnTheNextCtrlCIsAFreshStop) {
    EXPECT_EQ(ui_.TakeInterrupt(kSecond), Meaning::kStop);
    EXPECT_EQ(ui_.TakeInterrupt(kSecond + 10), Meaning::kRepeated);
    ui_.DeliverInterrupt();
    EXPECT_EQ(stops_, 1);
    EXPECT_EQ(ui_.TakeInterrupt(9 * kSecond), Meaning::kStop);
    ui_.DeliverInterrupt();
    ui_.DeliverInterrupt();
    EXPECT_EQ(stops_, 2);
}

// Enter alone presses the default button (#MSGBOX's OK goes on); an ended input never agrees.
TEST(ConsoleMessageBox, EnterTakesTheDefaultButtonAndTheEndTheOther) {
    int typing[2];
    ASSERT_EQ(pipe(typing), 0);
    ASSERT_EQ(write(typing[1], "\nc\n\nn\nYes\n", 11), 11);
    close(typing[1]);
    VirtualClock clock;
    ConsoleLineReader typed(typing[0]);
    char* shown = nullptr;
    size_t size = 0;
    std::FILE* prompts = open_memstream(&shown, &size);
    ConsoleUiHost ui(clock, typed, prompts);
    for (const auto& [buttons, expected] :
         {std::pair{MessageButtons::kOkCancel, MessageResult::kOk},
          {MessageButtons::kOkCancel, MessageResult::kCancel},
          {MessageButtons::kYesNo, MessageResult::kYes},
          {MessageButtons::kYesNo, MessageResult::kNo},
          {MessageButtons::kYesNo, MessageResult::kYes},
          {MessageButtons::kOkCancel, MessageResult::kCancel},
          {MessageButtons::kYesNo, MessageResult::kNo}}) {
        EXPECT_EQ(ui.ShowMessage("Deploy now?", "Message", buttons, MessageIcon::kExclamation),
                  expected);
    }
    std::fclose(prompts);
    EXPECT_NE(std::string(shown).find("OK or Cancel? [O/c] "), std::string::npos);
    EXPECT_NE(std::string(shown).find("Yes or No? [Y/n] "), std::string::npos);
    std::free(shown);
    close(typing[0]);
}

}  // namespace
}  // namespace brennix::cli
