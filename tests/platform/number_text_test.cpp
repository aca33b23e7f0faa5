// Numbers as the instrument, the files and the pages read them: printf's layout, a point for the
// decimals whatever the locale.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/number_text.h"

namespace brennix::test {
namespace {

TEST(FormatText, LaysOutAsPrintfDoes) {
    const std::pair<std::string, std::string> cases[] = {
        {FormatText("%0.2f", 0.5), "0.50"},
        {FormatText("%5.2f m", 1.0), " 1.00 m"},
        {FormatText("%.1f days", 1040.06), "1040.1 days"},
        {FormatText("%04d/%02d/%02d", 2026, 5, 7), "2026/05/07"},
        {FormatText("%4d|%-4d|", 7, 7), "   7|7   |"},
        {FormatText("%s %5.1f", "MRV", 3.8), "MRV   3.8"},
        {FormatText("%llu bytes", 18446744073709551615ull), "18446744073709551615 bytes"},
        {FormatText("%06.2f|%d%%", -1.5, 5), "-01.50|5%"},
        {FormatText("%.2f", 0.125), "0.12"},  // the exact binary value rounds to even
        {FormatText("%d and %d", 1), "1 and "},
    };
    for (const auto& [actual, expected] : cases) {
        EXPECT_EQ(actual, expected);
    }
}

#ifdef _WIN32
// Windows has the locale at hand.
bool EnterDecimalCommaLocale() {
    return std::setlocale(LC_ALL, "German_Germany.1252") != nullptr;
}
void LeaveDecimalCommaLocale() {
    std::setlocale(LC_ALL, "C");
}
#else
// A folder of its own: another run of the suite may be making and removing its locale too.
std::filesystem::path madeLocales;

bool EnterDecimalCommaLocale() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "brennix-number-text-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        return false;
    }
    madeLocales = pattern;
    const std::string make = "localedef -i de_DE -f UTF-8 " +
                             (madeLocales / "de_DE.UTF-8").string() + " >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) {
        std::filesystem::remove_all(madeLocales);
        return false;
    }
    setenv("LOCPATH", madeLocales.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

void LeaveDecimalCommaLocale() {
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
    std::error_code ignored;
    std::filesystem::remove_all(madeLocales, ignored);
}
#endif

// A technician's locale with a decimal comma must not reach a command: "CB 0,50" is refused.
TEST(FormatText, KeepsThePointInADecimalCommaLocale) {
    if (!EnterDecimalCommaLocale()) {
        LeaveDecimalCommaLocale();
        GTEST_SKIP() << "no de_DE locale can be had here";
    }
    const std::string formatted = FormatText("CB %0.2f", 0.5);
    const std::string fixed = FixedText(1521.516, 2);
    const auto parsed = ParseDecimal("0.25");
    LeaveDecimalCommaLocale();
    EXPECT_EQ(formatted, "CB 0.50");
    EXPECT_EQ(fixed, "1521.52");
    EXPECT_EQ(parsed, 0.25);
}

TEST(ParseNumbers, TakeBlanksButNothingElseAroundTheNumber) {
    EXPECT_EQ(ParseInteger(" +60 "), 60);
    EXPECT_EQ(ParseInteger("-60"), -60);
    EXPECT_FALSE(ParseInteger("60abc"));
    EXPECT_FALSE(ParseInteger("2147483648"));
    EXPECT_FALSE(ParseInteger(""));
    EXPECT_EQ(ParseDecimal(".25"), 0.25);
    EXPECT_EQ(ParseDecimal("1e2"), 100.0);
    EXPECT_FALSE(ParseDecimal("0x10"));
    EXPECT_FALSE(ParseDecimal("inf"));
    EXPECT_FALSE(ParseDecimal("1.5m"));
}

}  // namespace
}  // namespace brennix::test
