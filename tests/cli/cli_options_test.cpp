#include "cli/cli_options.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <regex>

#include "child_process.h"
#include "cli/cli_command.h"
#include "support/words.h"

namespace brennix::cli {
namespace {

using test::Words;

// What parsing the shared options and then the command's own arguments gives: empty when
// accepted, else the error.
std::string ParseAll(const std::vector<std::string>& arguments) {
    const ParseResult result = ParseCliOptions(arguments);
    if (!result.options) {
        return result.error;
    }
    const CliCommandEntry* entry = FindCliCommand(result.options->command);
    if (!entry) {
        return "unknown command " + result.options->command;
    }
    CommandArguments rest(result.options->commandArguments);
    if (!entry->make()->Parse(rest)) {
        return rest.Error();
    }
    return PortChoiceError(*result.options);
}

struct ParseCase {
    const char* name;
    const char* arguments;  // split at blanks
    std::string error;      // its start; empty when accepted
};

class CliOptionsTest : public testing::TestWithParam<ParseCase> {};

TEST_P(CliOptionsTest, AcceptsOrSaysWhy) {
    const std::string error = ParseAll(Words(GetParam().arguments));
    EXPECT_TRUE(error.starts_with(GetParam().error)) << error;
    EXPECT_EQ(error.empty(), GetParam().error.empty()) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliOptionsTest,
    testing::Values(
        ParseCase{"TerminalByDefault", "--simulate", ""},
        ParseCase{"OptionsAfterTheCommand", "send Ver --simulate --wait 200", ""},
        ParseCase{"NeitherPortNorSimulate", "", "give either --port NAME or --simulate"},
        ParseCase{"BothPortAndSimulate", "--port x --simulate", "give either"},
        ParseCase{"BaudWithoutValue", "--simulate --baud", "--baud needs a value"},
        ParseCase{"BaudNotANumber", "--simulate --baud 96OO", "--baud needs a whole"},
        ParseCase{"BaudZero", "--simulate --baud 0",
                  "--baud must be from 1 to 4294967295, not '0'; or auto"},
        ParseCase{"WaitNotANumber", "--simulate send x --wait soon", "--wait needs a whole number"},
        // A number out of range says the range; zero frames or seconds would mean no end or none.
        ParseCase{"WaitNegative", "--simulate send x --wait -1",
                  "--wait must be from 0 to 4294967295, not '-1'"},
        ParseCase{"FramesZero", "--simulate diag --frames 0", "--frames must be from 1 to"},
        ParseCase{"Rs485Highest", "--simulate --rs485 15", ""},
        ParseCase{"Rs485OneTooHigh", "--simulate --rs485 16",
                  "--rs485 16 is out of range: an RS-485 address is 0 (plain RS-232) to 15"},
        ParseCase{"ModelInAnyCase", "--simulate --model mirovanadv", ""},
        ParseCase{"UnknownModelListsTheKnownOnes", "--simulate --model Bogus",
                  "unknown model 'Bogus'; --model takes one of KTX, LMR, Mirovan, Fendrel, "
                  "MirovanAdv, Corvex, Pelorin"},
        ParseCase{"UnknownCommand", "--simulate dance", "unknown command dance"},
        ParseCase{"UnknownOption", "--simulate --colour", "unknown option --colour"},
        ParseCase{"StrayArgument", "--simulate identify extra", "unexpected argument extra"},
        // Several pairs may follow one --set.
        ParseCase{"SetupSettings",
                  "--simulate setup --units English --set si=60 --set CB=1 TempMode=USER Temp=5",
                  ""},
        ParseCase{"SetupUnknownWord", "--simulate setup --set CS=1.0",
                  "--set takes WORD=VALUE with one of SI, AI"},
        ParseCase{"SetupWithoutEquals", "--simulate setup --set SI", "--set takes"},
        ParseCase{"SetupWordTwice", "--simulate setup --set SI=6 --set si=7",
                  "--set SI is given twice"},
        ParseCase{"SetupUnits", "--simulate setup --units imperial",
                  "--units takes one of metric, english, not 'imperial'"},
        ParseCase{"SetupJsonWithSet", "--simulate setup --json --set SI=6",
                  "--json lists the pages"},
        ParseCase{"DeploySdi12",
                  "--simulate deploy --mode SDI12 --sdi12-format tandrel --sdi12-address 4", ""},
        ParseCase{"DeploySdi12OptionsAlone", "--simulate deploy --sdi12-units Metric",
                  "the --sdi12-... options go with --mode sdi12"},
        ParseCase{"DeployAddressNotANumber", "--simulate deploy --mode sdi12 --sdi12-address A",
                  "--sdi12-address needs a whole number, not 'A'"},
        ParseCase{"DeployMode", "--simulate deploy --mode burst",
                  "--mode takes one of standard, sdi12"},
        ParseCase{"RecorderDownload",
                  "--simulate recorder download A.000 B.000 --to d --rate 115200 --replace all",
                  ""},
        ParseCase{"RecorderWithoutAction", "--simulate recorder", "the command needs list"},
        ParseCase{"RecorderUnknownAction", "--simulate recorder erase",
                  "recorder needs list, download or format"},
        ParseCase{"DownloadNothing", "--simulate recorder download", "download needs the names"},
        ParseCase{"DownloadNamesAndAll", "--simulate recorder download A --all",
                  "download needs the names"},
        ParseCase{"DownloadRateNotInTheList", "--simulate recorder download --all --rate 14400",
                  "--rate must be one of 300, 600"},
        ParseCase{"DownloadReplaceUnknown", "--simulate recorder download --all --replace maybe",
                  "--replace must be ask, yes, no or all"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliOptions, WarnsOnlyOfOptionsThatMeanNothingHere) {
    const ParseResult withPort =
        ParseCliOptions(Words("--port /dev/ttyS0 --model Corvex --log-time-stamps"));
    ASSERT_TRUE(withPort.options);
    ASSERT_EQ(withPort.warnings.size(), 2u);
    EXPECT_TRUE(withPort.warnings[0].starts_with("--model only chooses the simulated instrument"));
    EXPECT_TRUE(withPort.warnings[1].starts_with("--log-time-stamps stamps the lines of a log"));
    EXPECT_TRUE(ParseCliOptions(Words("--simulate --model Corvex")).warnings.empty());
    EXPECT_TRUE(
        ParseCliOptions(Words("--port /dev/ttyS0 --log-time-stamps --log x")).warnings.empty());
}

// What bash offers for the last word, with the completion the package installs.
std::vector<std::string> Completions(std::vector<std::string> typed) {
    std::string words = "brennix-cli";
    for (const std::string& word : typed) {
        words += " '" + word + "'";
    }
    test::ChildProcess bash({"/bin/bash", "-c",
                             "source '" BRENNIX_COMPLETION_PATH "'; COMP_WORDS=(" + words +
                                 "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _brennix_cli; "
                                 "printf '%s\\n' \"${COMPREPLY[@]}\""});
    EXPECT_EQ(bash.Wait(5000), 0) << bash.Errors();
    return Words(bash.Output());
}

// The words before the options in a command's form: "recorder download" takes its action first.
std::vector<std::string> FormWords(const CliCommandEntry& entry) {
    std::vector<std::string> words = Words(std::string(entry.usage));
    const auto action = std::find_if(words.begin() + 1, words.end(), [](const std::string& word) {
        return !std::all_of(word.begin(), word.end(), [](char c) {
            return std::islower(static_cast<unsigned char>(c)) != 0;
        });
    });
    words.erase(action, words.end());
    return words;
}

// The completion cannot drift from the program: every command, each form's options, the
// choices of those that take one, and the options every command shares are offered.
TEST(CliCompletion, OffersEveryCommandOptionAndChoiceTheProgramTakes) {
    using testing::Contains;
    const std::vector<std::string> commands = Completions({""});
    for (const CliCommandEntry& entry : CliCommands()) {
        EXPECT_THAT(commands, Contains(std::string(entry.name)));
        std::vector<std::string> form = FormWords(entry);
        CommandArguments asked({form.begin() + 1, form.end()});
        entry.make()->Parse(asked);
        form.insert(form.begin(), "--simulate");
        form.push_back("--");
        const std::vector<std::string> options = Completions(form);
        for (const std::string& option : asked.OptionsAsked()) {
            EXPECT_THAT(options, Contains(option)) << entry.usage;
        }
        for (const auto& [option, choices] : asked.ChoicesAsked()) {
            form.back() = option;
            form.push_back("");
            EXPECT_THAT(Completions(form), testing::UnorderedElementsAreArray(choices)) << option;
            form.pop_back();
        }
    }
    const std::string usage = CliUsage();
    const std::string shared = usage.substr(0, usage.find("commands:"));
    const std::vector<std::string> offered = Completions({"--"});
    const std::regex option("--[a-z0-9-]+");
    for (auto found = std::sregex_iterator(shared.begin(), shared.end(), option);
         found != std::sregex_iterator(); ++found) {
        EXPECT_THAT(offered, Contains(found->str()));
    }
}

// The manual page's paragraphs (one from each .TP or .SH), as read: groff's dashes, fonts and
// quotes taken out, each starting with its tag ("send LINE [--wait MS]").
std::vector<std::string> ManParagraphs() {
    std::ifstream file(BRENNIX_MAN_PAGE_PATH);
    std::string page(std::istreambuf_iterator<char>(file), {});
    page = std::regex_replace(page, std::regex(R"(\\-)"), "-");
    page =
        std::regex_replace(page, std::regex(R"(\\f[BIR]|"|^\.[BIR]+ )", std::regex::multiline), "");
    page = std::regex_replace(page, std::regex(" +"), " ");
    std::vector<std::string> paragraphs(1);
    std::istringstream lines(page);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(".TP") || line.starts_with(".SH")) {
            paragraphs.emplace_back();
        } else {
            paragraphs.back() += line + "\n";
        }
    }
    return paragraphs;
}

// Whether one paragraph that starts with tag holds every word.
bool Described(const std::vector<std::string>& page, const std::string& tag,
               const std::vector<std::string>& words) {
    return std::any_of(page.begin(), page.end(), [&](const std::string& paragraph) {
        return paragraph.starts_with(tag) &&
               std::all_of(words.begin(), words.end(), [&](const std::string& word) {
                   return paragraph.find(word) != std::string::npos;
               });
    });
}

// The manual page cannot drift from the program: each command form has a paragraph, and those
// of the command name its options and their choices; each option of the usage is described
// with the values the usage names for it (--baud N|auto).
TEST(CliManPage, DescribesEveryCommandOptionAndValueOfTheUsage) {
    const std::vector<std::string> page = ManParagraphs();
    for (const CliCommandEntry& entry : CliCommands()) {
        const std::vector<std::string> form = FormWords(entry);
        CommandArguments asked({form.begin() + 1, form.end()});
        entry.make()->Parse(asked);
        std::vector<std::string> words = asked.OptionsAsked();
        for (const auto& [option, choices] : asked.ChoicesAsked()) {
            words.insert(words.end(), choices.begin(), choices.end());
        }
        std::string tag = form[0];
        for (size_t i = 1; i < form.size(); ++i) {
            tag += " " + form[i];
        }
        EXPECT_TRUE(Described(page, tag, {})) << entry.usage;
        for (const std::string& word : words) {
            EXPECT_TRUE(Described(page, tag, {word})) << entry.usage << ": " << word;
        }
    }
    const std::string usage = CliUsage();
    const std::regex option(R"((--[a-z0-9-]+)( [A-Za-z0-9]+((\|[a-z0-9]+)+))?)");
    for (auto found = std::sregex_iterator(usage.begin(), usage.end(), option);
         found != std::sregex_iterator(); ++found) {
        std::string values = (*found)[3];
        std::replace(values.begin(), values.end(), '|', ' ');
        std::vector<std::string> words = Words(values);
        words.push_back((*found)[1]);
        EXPECT_TRUE(Described(page, "", words)) << found->str();
    }
}

}  // namespace
}  // namespace brennix::cli
