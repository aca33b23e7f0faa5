#include "platform/com_port_name.h"

#include <gtest/gtest.h>

#include <optional>

namespace brennix {
namespace {

TEST(ComPortName, OpensEveryWayOfNamingAPortThroughTheDeviceNamespace) {
    struct Case {
        const char* name;
        const char* path;
    };
    for (const Case& c : {Case{"COM3", "\\\\.\\COM3"}, Case{"com12", "\\\\.\\COM12"},
                          // The handheld's names, as old settings still hold them.
                          Case{"COM1:", "\\\\.\\COM1"}, Case{"\\\\.\\COM3", "\\\\.\\COM3"},
                          Case{"CNCA0", "\\\\.\\CNCA0"}}) {
        EXPECT_EQ(ComPortPath(c.name), c.path) << c.name;
    }
}

TEST(ComPortName, NumbersOnlyComPorts) {
    struct Case {
        const char* name;
        std::optional<unsigned> number;
    };
    for (const Case& c :
         {Case{"COM2", 2}, Case{"COM10", 10}, Case{"com7:", 7}, Case{"\\\\.\\COM256", 256},
          Case{"COM", std::nullopt}, Case{"COMX", std::nullopt}, Case{"CNCA0", std::nullopt}}) {
        EXPECT_EQ(ComPortNumber(c.name), c.number) << c.name;
    }
}

}  // namespace
}  // namespace brennix
