#include "platform/new_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace brennix {
namespace {

std::string Contents(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A deployment record is never written over, and what is written is the bytes as given: no CR
// put before an LF on Windows.
TEST(NewFile, IsCreatedOnceInBinaryAndNeverOverAnother) {
    const std::filesystem::path path = testing::TempDir() + "new_file_test.json";
    std::filesystem::remove(path);

    std::FILE* file = OpenNewFile(path.string());
    ASSERT_NE(file, nullptr);
    std::fputs("kept\n", file);
    std::fclose(file);
    EXPECT_EQ(Contents(path), "kept\n");

    errno = 0;
    EXPECT_EQ(OpenNewFile(path.string()), nullptr);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(Contents(path), "kept\n");
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace brennix
