#include "platform/low_latency_mode.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

#include <gtest/gtest.h>

namespace brennix {
namespace {

// A driver for the test: whether it has the mode, and its flags.
struct FakeDriver {
    bool hasMode = true;
    int flags = 0;
    int sets = 0;
};
FakeDriver driver;

int Control(int, unsigned long request, serial_struct* info) {
    if (!driver.hasMode) {
        return -1;
    }
    if (request == TIOCGSERIAL) {
        info->flags = driver.flags;
    } else {
        driver.flags = info->flags;
        ++driver.sets;
    }
    return 0;
}

TEST(LowLatencyMode, OnWhileOpenThenAsBeforeAndATtyWithoutItIsLeftAlone) {
    struct Case {
        const char* what;
        bool hasMode;
        int before;
        int whileOpen;
        int sets;
    };
    constexpr int kOther = 0x40;
    for (const Case& c :
         {Case{"USB adapter", true, kOther, kOther | ASYNC_LOW_LATENCY, 2},
          Case{"already on stays on", true, ASYNC_LOW_LATENCY, ASYNC_LOW_LATENCY, 0},
          Case{"pseudo-terminal", false, 0, 0, 0}}) {
        driver = {c.hasMode, c.before, 0};
        LowLatencyMode mode(&Control);
        mode.Enable(3);
        EXPECT_EQ(driver.flags, c.whileOpen) << c.what;
        mode.Restore(3);
        EXPECT_EQ(driver.flags, c.before) << c.what;
        EXPECT_EQ(driver.sets, c.sets) << c.what;
    }
}

}  // namespace
}  // namespace brennix
