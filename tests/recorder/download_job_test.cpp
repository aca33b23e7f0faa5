// Downloads from the simulated recorder on the virtual clock, with the job on its own thread as
// in the program: files arrive intact, existing ones are asked about, a stop keeps what came, and
// every failure is asked about or said.
#include "recorder/download_job.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "recorder/rate_restore.h"
#include "recording_listener.h"
#include "sim/sim_recorder.h"
#include "support/sim_session.h"

namespace brennix::test {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kJobMs = 600000;

std::string Data(size_t size, unsigned seed) {
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 31 + seed * 7 + i / 251) & 0xFF);
    return data;
}

std::string Contents(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

// Equal bytes, or where they part.
testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
    const auto [a, e] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a == actual.end() && e == expected.end())
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << actual.size() << " bytes, expected " << expected.size()
                                       << ", first difference at " << (a - actual.begin());
}

size_t Count(const std::string& text, char c) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), c));
}

class DownloadJobTest : public testing::Test {
  protected:
    explicit DownloadJobTest(sim::Model model = sim::Model::kMirovan)
        : sim(Settings(model)), root(TemporaryFolder()), folder(root / "OstrelData") {
        fs::create_directory(folder);
    }
    ~DownloadJobTest() override {
        job.reset();
        fs::remove_all(root);
    }

    static sim::Settings Settings(sim::Model model) {
        sim::Settings settings;
        settings.model = model;
        settings.baudRate = 115200;
        settings.recorderSamples = false;
        return settings;
    }
    static fs::path TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "brennix-download-XXXXXX").string();
        return mkdtemp(pattern.data());
    }

    // A file on the recorder, and its entry as the directory lists it.
    RecorderFileEntry AddFile(const std::string& name, size_t size) {
        sim.instrument.Recorder().AddFile({name, Data(size, static_cast<unsigned>(name.size()))});
        RecorderFileEntry entry;
        entry.name = name;
        entry.size = static_cast<uint32_t>(size);
        return entry;
    }
    const std::string& OnRecorder(size_t index) {
        return sim.instrument.Recorder().Files()[index].data;
    }

    void Start(std::vector<RecorderFileEntry> entries) {
        ASSERT_TRUE(job->Start({std::move(entries), folder.string()}));
    }
    void Finish() {
        ASSERT_TRUE(job->WaitFinished(kJobMs));
        EXPECT_EQ(listener.Ended(), 1);
    }
    void Download(std::vector<RecorderFileEntry> entries) {
        Start(std::move(entries));
        Finish();
    }
    // Lets virtual time pass until the host has acknowledged this many blocks of the download.
    void WaitForAcks(size_t count) {
        for (int ms = 0; ms < 60000 && Count(SentSinceDownload(), 'a') < count; ++ms)
            sim.clock.Sleep(1);
    }
    std::string SentSinceDownload() const {
        const std::string& sent = sim.instrument.Received();
        const size_t command = sent.find("download ");
        return command == std::string::npos ? "" : sent.substr(sent.find('\r', command) + 1);
    }

    SimSession sim;
    RecordingListener listener;
    std::unique_ptr<DownloadJob> job =
        std::make_unique<DownloadJob>(sim.session.Instrument(), listener);
    fs::path root;
    fs::path folder;
};

TEST_F(DownloadJobTest, EveryFileArrivesIntactUnderItsModelsExtension) {
    Download({AddFile("DEP1.000", 3000), AddFile("DEP1.001", 1024), AddFile("EMPTY.000", 0)});
    EXPECT_TRUE(SameBytes(Contents(folder / "DEP1.000.mrv"), OnRecorder(0)));
    EXPECT_TRUE(SameBytes(Contents(folder / "DEP1.001.mrv"), OnRecorder(1)));
    EXPECT_TRUE(fs::exists(folder / "EMPTY.000.mrv"));
    EXPECT_EQ(fs::file_size(folder / "EMPTY.000.mrv"), 0u);
    const std::vector<DownloadedFile> files = listener.Files();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_TRUE(std::all_of(files.begin(), files.end(), [](const DownloadedFile& f) {
        return f.outcome == FileOutcome::kComplete && f.received == f.expected;
    }));
    EXPECT_EQ(listener.Statuses(),
              (std::vector<std::string>{"DEP1.000.mrv", "DEP1.001.mrv", "EMPTY.000.mrv", "Done"}));
    EXPECT_TRUE(listener.LastDetail().starts_with("Total time 00:00:0")) << listener.LastDetail();
    EXPECT_EQ(listener.Range(), 300);
    EXPECT_EQ(listener.LastPosition(), 300);
    const std::vector<std::string> details = listener.Details();
    EXPECT_TRUE(std::any_of(details.begin(), details.end(), [](const std::string& d) {
        return d.starts_with("Time left 00:00:0");
    }));
    // The last file: "c", the entry and the empty block, nothing rejected.
    EXPECT_EQ(SentSinceDownload().substr(SentSinceDownload().rfind("download ")),
              "download EMPTY.000\raaa");
}

TEST_F(DownloadJobTest, NothingSelectedStillIdentifiesAndEndsDoneAtZeroTime) {
    Download({});
    EXPECT_EQ(listener.Statuses(), std::vector<std::string>{"Done"});
    EXPECT_EQ(listener.LastDetail(), "Total time 00:00:00");
    EXPECT_NE(sim.instrument.Received().find("Ver\r"), std::string::npos);
}

// Answers to the replace question for two existing files, and what each file holds afterwards.
struct ReplaceCase {
    const char* name;
    std::deque<ReplaceAnswer> answers;
    size_t questions;
    bool firstReplaced;
    bool secondReplaced;
};

class ReplaceTest : public DownloadJobTest, public testing::WithParamInterface<ReplaceCase> {};

TEST_P(ReplaceTest, AsksPerExistingFileUntilYesToAll) {
    const ReplaceCase& c = GetParam();
    const std::vector<RecorderFileEntry> entries = {AddFile("A.000", 2000), AddFile("B.000", 900)};
    std::ofstream(folder / "A.000.mrv") << "old";
    std::ofstream(folder / "B.000.mrv") << "old";
    listener.AnswerReplace(c.answers);
    Download(entries);
    EXPECT_EQ(listener.ReplaceQuestions().size(), c.questions);
    EXPECT_EQ(listener.ReplaceQuestions().front(), (folder / "A.000.mrv").string());
    EXPECT_TRUE(SameBytes(Contents(folder / "A.000.mrv"),
                          c.firstReplaced ? OnRecorder(0) : std::string("old")));
    EXPECT_TRUE(SameBytes(Contents(folder / "B.000.mrv"),
                          c.secondReplaced ? OnRecorder(1) : std::string("old")));
    // A skipped file still counts: the bar ends full.
    EXPECT_EQ(listener.LastPosition(), 300);
    EXPECT_EQ(listener.LastStatus(), "Done");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ReplaceTest,
    testing::Values(
        ReplaceCase{"YesAsksAgain", {ReplaceAnswer::kYes, ReplaceAnswer::kYes}, 2, true, true},
        ReplaceCase{"YesToAllAsksNoMore", {ReplaceAnswer::kYesToAll}, 1, true, true},
        ReplaceCase{"NoKeepsTheFile", {ReplaceAnswer::kNo, ReplaceAnswer::kYes}, 2, false, true}),
    [](const testing::TestParamInfo<ReplaceCase>& info) { return info.param.name; });

TEST_F(DownloadJobTest, AStopDuringABlockKeepsWhatCameAndTellsTheInstrumentWithThreeRejects) {
    const RecorderFileEntry entry = AddFile("LONG.000", 8 * 1024);
    Start({entry, AddFile("NEXT.000", 100)});
    WaitForAcks(4);       // "c", the entry and two data blocks
    sim.clock.Sleep(40);  // halfway through the third
    job->RequestStop();
    Finish();
    EXPECT_EQ(listener.LastStatus(), "Cancelled");
    const std::string sent = SentSinceDownload();
    EXPECT_EQ(sent.substr(sent.rfind('a') + 1), "bbb");
    EXPECT_EQ(Count(sent, 'd'), 0u);
    EXPECT_TRUE(SameBytes(Contents(folder / "LONG.000.mrv"), OnRecorder(0).substr(0, 2048)));
    ASSERT_EQ(listener.Files().size(), 1u);
    EXPECT_EQ(listener.Files()[0].outcome, FileOutcome::kPartial);
    EXPECT_FALSE(fs::exists(folder / "NEXT.000.mrv"));

    // The three "b" bring three more copies of the block; once they are through, the instrument
    // takes commands again.
    CRecorderAccess access(sim.session.Instrument());
    EXPECT_TRUE(RestoreRate(access, sim.link, 9600));
    EXPECT_EQ(sim.link.GetBaudRate(), 9600u);
}

TEST_F(DownloadJobTest, ABlockWithABadChecksumIsRejectedUntilItArrivesIntact) {
    sim.instrument.GetFaults().badChecksumBlock = 2;
    sim.instrument.GetFaults().badChecksumSends = 2;
    Download({AddFile("BAD.000", 5000)});
    EXPECT_TRUE(SameBytes(Contents(folder / "BAD.000.mrv"), OnRecorder(0)));
    EXPECT_TRUE(SentSinceDownload().starts_with("aaabbaaaa")) << SentSinceDownload();
    EXPECT_EQ(listener.LastStatus(), "Done");
}

TEST_F(DownloadJobTest, NoiseOnTheWholeLineStillDeliversTheFileIntact) {
    // About one block in twenty is spoiled somewhere.
    sim.instrument.GetFaults().corruptRate = 0.00005;
    Download({AddFile("NOISE.000", 40000)});
    EXPECT_TRUE(SameBytes(Contents(folder / "NOISE.000.mrv"), OnRecorder(0)));
    EXPECT_GT(Count(SentSinceDownload(), 'b'), 0u);
    EXPECT_EQ(listener.LastStatus(), "Done");
}

// A download that cannot start is asked about: Yes goes on with the next file, No cancels.
TEST_F(DownloadJobTest, ReadErrorsAskWhetherToGoOn) {
    sim.instrument.GetFaults().rejectDownload = true;
    listener.AnswerMessages({MessageResult::kYes, MessageResult::kNo});
    Download({AddFile("A.000", 10), AddFile("B.000", 10), AddFile("C.000", 10)});
    const std::vector<RecordingListener::Message> messages = listener.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, "Error reading 'A.000'\nDo you want to continue?");
    EXPECT_EQ(messages[0].caption, "Error");
    EXPECT_EQ(messages[0].buttons, MessageButtons::kYesNo);
    EXPECT_EQ(messages[1].text, "Error reading 'B.000'\nDo you want to continue?");
    EXPECT_EQ(listener.LastStatus(), "Cancelled");
    EXPECT_EQ(sim.instrument.Received().find("download C.000"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "A.000.mrv"));
}

// A recorder that hangs mid-file is told "d" and the user asked; Yes goes on (here: to the end),
// No cancels the rest.
TEST_F(DownloadJobTest, AStalledInstrumentIsStoppedWithDThenAsked) {
    for (const MessageResult answer : {MessageResult::kNo, MessageResult::kYes}) {
        sim.instrument.ClearReceived();
        sim.instrument.GetFaults().stallAfterBlocks = 3;
        RecordingListener asked;
        asked.AnswerMessages({answer});
        DownloadJob stalling(sim.session.Instrument(), asked);
        const uint32_t start = sim.clock.TickCount();
        ASSERT_TRUE(stalling.Start({{AddFile("STALL.000", 5000)}, folder.string()}));
        ASSERT_TRUE(stalling.WaitFinished(kJobMs));
        EXPECT_LT(sim.clock.TickCount() - start, 30000u);
        const std::string sent = SentSinceDownload();
        const bool no = answer == MessageResult::kNo;
        EXPECT_EQ(sent.substr(sent.rfind('a') + 1), no ? "bbbdbbb" : "bbbd");
        EXPECT_EQ(asked.LastStatus(), no ? "Cancelled" : "Done");
        // The entry and two data blocks came before the recorder hung.
        EXPECT_TRUE(SameBytes(Contents(folder / "STALL.000.mrv"), OnRecorder(0).substr(0, 2048)));
        ASSERT_EQ(asked.Messages().size(), 1u);
        EXPECT_EQ(asked.Messages()[0].text, "Error reading 'STALL.000'\nDo you want to continue?");
        // Woken again for the next round.
        sim.instrument.GetFaults().stallAfterBlocks = -1;
        sim.link.SendBreak(300);
    }
}

TEST_F(DownloadJobTest, AFullDiskIsAskedAboutWithTheSystemsReason) {
    fs::create_symlink("/dev/full", folder / "FULL.000.mrv");
    listener.AnswerMessages({MessageResult::kNo});
    Download({AddFile("FULL.000", 3000), AddFile("NEXT.000", 10)});
    ASSERT_EQ(listener.Messages().size(), 1u);
    EXPECT_EQ(listener.Messages()[0].text, "Error writing to '" +
                                               (folder / "FULL.000.mrv").string() +
                                               "'\nError: 28 (No space left on device)\nContinue?");
    // The block that could not be written is rejected right after its acknowledgement.
    EXPECT_TRUE(SentSinceDownload().starts_with("aaab")) << SentSinceDownload();
    EXPECT_EQ(listener.LastStatus(), "Cancelled");
    EXPECT_EQ(listener.Files()[0].outcome, FileOutcome::kPartial);
}

TEST_F(DownloadJobTest, AFileThatCannotBeCreatedIsReportedEvenWhenItIsEmpty) {
    fs::create_directory(folder / "EMPTY.000.mrv");
    Download({AddFile("EMPTY.000", 0)});
    ASSERT_EQ(listener.Messages().size(), 1u);
    EXPECT_NE(listener.Messages()[0].text.find("\nError: 21 (Is a directory)\n"),
              std::string::npos);
    EXPECT_EQ(listener.Files()[0].outcome, FileOutcome::kFailed);
}

TEST_F(DownloadJobTest, NamesThatAreNotPlainFileNamesAreRefusedAndNothingLandsOutside) {
    const std::vector<RecorderFileEntry> entries = {
        AddFile("../EVIL.000", 10), AddFile("A/B.000", 10),
        AddFile("C\\D.000", 10),    AddFile("", 10),
        AddFile("..", 10),          AddFile(std::string("X\x01Y"), 10),
        AddFile("GOOD.000", 10)};
    Download(entries);
    const std::vector<RecordingListener::Message> messages = listener.Messages();
    ASSERT_EQ(messages.size(), 6u);
    EXPECT_EQ(messages[0].text,
              "'../EVIL.000' cannot be saved: the name is not a plain file name\n"
              "Do you want to continue?");
    EXPECT_EQ(messages[5].text.substr(0, 8), "'X\\x01Y'");
    EXPECT_EQ(std::distance(fs::directory_iterator(root), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    EXPECT_TRUE(fs::exists(folder / "GOOD.000.mrv"));
    const std::string& sent = sim.instrument.Received();
    EXPECT_EQ(Count(sent, '\r') - Count(sent.substr(0, sent.find("download")), '\r'),
              Count(sent.substr(sent.find("download")), '\r'));
    EXPECT_EQ(sent.find("download GOOD.000"), sent.find("download "));
}

TEST_F(DownloadJobTest, AVanishedPortEndsTheDownloadKeepingThePartialFile) {
    Start({AddFile("GONE.000", 6000), AddFile("NEXT.000", 10)});
    WaitForAcks(3);
    sim.clock.Sleep(40);
    sim.device.SetVanished(true);
    Finish();
    ASSERT_EQ(listener.Messages().size(), 1u);
    EXPECT_EQ(listener.Messages()[0].text,
              "Lost the connection while reading 'GONE.000':\nInput/output error");
    EXPECT_EQ(listener.LastStatus(), "Connection lost");
    EXPECT_TRUE(SameBytes(Contents(folder / "GONE.000.mrv"), OnRecorder(0).substr(0, 1024)));
    EXPECT_EQ(listener.Files().size(), 1u);
}

TEST_F(DownloadJobTest, NoKnownInstrumentIsSaidAndTheJobEnds) {
    sim.instrument.GetFaults().silent = true;
    Download({AddFile("A.000", 10)});
    // The instrument's own failure first, then the download's.
    ASSERT_FALSE(listener.Messages().empty());
    EXPECT_EQ(listener.Messages().back().text, "Unable to connect to any known instrument");
    EXPECT_EQ(listener.Messages().back().caption, "Connection Error:");
    EXPECT_TRUE(listener.Statuses().empty());
    EXPECT_FALSE(job->IsRunning());
}

class ModelExtensionTest : public DownloadJobTest,
                           public testing::WithParamInterface<std::pair<sim::Model, const char*>> {
  protected:
    ModelExtensionTest() : DownloadJobTest(GetParam().first) {}
};

TEST_P(ModelExtensionTest, NamesTheFileAfterTheModelTheInstrumentReports) {
    Download({AddFile("M.000", 10)});
    EXPECT_TRUE(fs::exists(folder / (std::string("M.000") + GetParam().second)));
}

INSTANTIATE_TEST_SUITE_P(Models, ModelExtensionTest,
                         testing::Values(std::pair{sim::Model::kKtx, ".ktx"},
                                         std::pair{sim::Model::kPelorin, ".ktx"},
                                         std::pair{sim::Model::kCorvex, ".crv"},
                                         std::pair{sim::Model::kMirovanAdv, ".mrv"}));

}  // namespace
}  // namespace brennix::test
