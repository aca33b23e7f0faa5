#include "cli/console_ui_host.h"

#include <gtest/gtest.h>

#include <cstdio>

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

}  // namespace
}  // namespace brennix::cli
