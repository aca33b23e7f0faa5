#include "instrument/command_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace brennix {
namespace {

struct FileCase {
    const char* name;
    std::string contents;
    std::string text;   // what runs, when the file is taken
    std::string error;  // why not, otherwise
};

TEST(CommandFile, TakesTextAndRefusesWhatIsNoText) {
    const std::string path =
        testing::TempDir() + "command_file_test_" + std::to_string(::getpid()) + ".cmd";
    for (const FileCase& c : {
             FileCase{"PlainLinesWithTabs", "Ver\r\n\tShow Conf\n", "Ver\r\n\tShow Conf\n", ""},
             FileCase{"LeadingByteOrderMarkDropped", "\xEF\xBB\xBFVer\r\n", "Ver\r\n", ""},
             FileCase{"LaterByteOrderMarkIsText", "a\xEF\xBB\xBF", "a\xEF\xBB\xBF", ""},
             FileCase{"EightBitText", "temp 20\xB0\r\n", "temp 20\xB0\r\n", ""},
             FileCase{"Empty", "", "", ""},
             FileCase{"NulByte", std::string("Ver\0", 4), "",
                      "it is not a text file (byte 0x00 at offset 3)"},
             FileCase{"ControlCharacter", "Ver\x1B[2J", "",
                      "it is not a text file (byte 0x1B at offset 3)"},
             FileCase{"Delete",
                      "\x7F"
                      "ELF",
                      "", "it is not a text file (byte 0x7F at offset 0)"},
         }) {
        SCOPED_TRACE(c.name);
        std::ofstream(path, std::ios::binary) << c.contents;
        const CommandFile file = ReadCommandFile(path);
        EXPECT_EQ(file.ok, c.error.empty());
        EXPECT_EQ(file.text, c.text);
        EXPECT_EQ(file.error, c.error);
    }
    std::filesystem::remove(path);
}

TEST(CommandFile, FolderAndMissingFileSayWhy) {
    EXPECT_EQ(ReadCommandFile(testing::TempDir()).error,
              "it is a folder; choose a command file inside it");
    EXPECT_EQ(ReadCommandFile("/no-such-folder/x.cmd").error, "No such file or directory");
}

}  // namespace
}  // namespace brennix
