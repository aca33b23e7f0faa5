// The recorder service as both programs use it, on the simulated instrument and the virtual clock,
// its jobs on their own threads and their reports carried by the relay: listings, rates, downloads
// and formats, each stopped at any moment with the instrument left answering.
#include "recorder/recorder_service.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "recorder/recorder_texts.h"
#include "sim/sim_recorder.h"
#include "support/sim_session.h"
#include "support/temporary_folder.h"

namespace brennix::test {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Everything the service reports, on the test's thread; questions answered from queues (when
// empty: Yes, OK, replace Yes).
struct Heard : RecorderListener {
    void OnRateSet(uint32_t rate, bool switched) override { rates.emplace_back(rate, switched); }
    void OnListed(const std::optional<RecorderListing>& value) override {
        listing = value;
        ++listings;
    }
    void OnProgress(const RecorderProgress& value) override { progress.push_back(value); }
    void OnFileEnded(const DownloadedFile& file) override { ended.push_back(file); }
    void OnDownloaded(const DownloadResult& value) override { downloaded = value; }
    void OnFormatted(FormatOutcome value) override { formatted = value; }
    MessageResult ShowMessage(const std::string& text, const std::string&, MessageButtons buttons,
                              MessageIcon) override {
        messages.push_back(text);
        const MessageResult fallback =
            buttons == MessageButtons::kYesNo ? MessageResult::kYes : MessageResult::kOk;
        return Take(answers, fallback);
    }
    ReplaceAnswer ConfirmReplace(const std::string& path) override {
        replaceAsked.push_back(path);
        return Take(replaceAnswers, ReplaceAnswer::kYes);
    }
    template <typename T>
    static T Take(std::deque<T>& queue, T fallback) {
        if (queue.empty()) {
            return fallback;
        }
        const T answer = queue.front();
        queue.pop_front();
        return answer;
    }
    std::vector<std::string> Subjects() const {
        std::vector<std::string> subjects;
        for (const RecorderProgress& p : progress) {
            if (!p.subject.empty() && (subjects.empty() || subjects.back() != p.subject)) {
                subjects.push_back(p.subject);
            }
        }
        return subjects;
    }

    std::vector<std::pair<uint32_t, bool>> rates;
    std::optional<RecorderListing> listing;
    int listings = 0;
    std::vector<RecorderProgress> progress;
    std::vector<DownloadedFile> ended;
    std::optional<DownloadResult> downloaded;
    std::optional<FormatOutcome> formatted;
    std::vector<std::string> messages;
    std::vector<std::string> replaceAsked;
    std::deque<MessageResult> answers;
    std::deque<ReplaceAnswer> replaceAnswers;
};

// The service on a simulated instrument, downloading into a folder of its own.
struct RecorderRig {
    explicit RecorderRig(const sim::Settings& settings = {})
        : sim(settings), root(testing_support::MakeTemporaryFolder("brennix-recorder")) {}
    ~RecorderRig() { fs::remove_all(root); }

    // Runs a started operation to its end.
    void Finish(bool started, uint32_t limitMs = 600000) {
        ASSERT_TRUE(started);
        ASSERT_TRUE(sim.PumpUntil([this] { return !service.IsBusy(); }, limitMs));
    }
    std::vector<RecorderFileEntry> Listed() {
        Finish(service.List());
        return heard.listing ? heard.listing->entries : std::vector<RecorderFileEntry>{};
    }
    const DownloadResult& Download(std::vector<RecorderFileEntry> entries,
                                   std::optional<uint32_t> rate = std::nullopt) {
        Finish(service.Download({std::move(entries), root.string(), rate}));
        return *heard.downloaded;
    }
    // Lets a started operation run for ms, stops it and waits for its end.
    void StopAfter(bool started, uint32_t ms) {
        ASSERT_TRUE(started);
        sim.PumpUntil([] { return false; }, ms);
        service.Stop();
        Finish(true);
    }
    bool StartVerified(std::vector<RecorderFileEntry> entries) {
        return service.Download({std::move(entries), root.string(), std::nullopt, 3, true});
    }
    long FilesSaved() const {
        return std::distance(fs::directory_iterator(root), fs::directory_iterator());
    }
    const std::string& OnRecorder(size_t index) {
        return sim.instrument.Recorder().Files()[index].data;
    }
    // What the host sent since the last time it asked for a file.
    std::string SentInLastDownload() const {
        const std::string& sent = sim.instrument.Received();
        const size_t command = sent.rfind("download ");
        return command == std::string::npos ? "" : sent.substr(sent.find('\r', command) + 1);
    }
    // The next command after an operation meets the command line, with nothing left of a
    // transfer on the line (a format the instrument goes on with has its say first).
    void ExpectTheNextCommandAnswered(bool quiet = true) {
        sim.clock.Sleep(3000);
        if (quiet) {
            EXPECT_EQ(sim.link.BytesWaiting(), 0u) << "the transfer went on after its end";
        }
        sim.link.Purge(kPurgeRxClear);
        sim.link.Write("Ver\r", 1000, false);
        std::array<char, 256> reply{};
        sim.session.Instrument().WaitFor(reply, "Serial number", 3000, false);
        EXPECT_TRUE(std::string(reply.data()).starts_with("Ver\rOstrel Mirovan")) << reply.data();
    }

    SimSession sim;
    Heard heard;
    RecorderService service{sim.session, sim.relay, heard};
    fs::path root;
};

class RecorderServiceTest : public testing::Test, public RecorderRig {};

TEST_F(RecorderServiceTest, ListsFilesWithTheirYearsFrom1980AndTheSpace) {
    sim.instrument.Recorder().AddFile({"OLD.000", "abc", 2006, 5, 17, 13, 45, 9});
    const std::vector<RecorderFileEntry> entries = Listed();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[3].name, "OLD.000");
    EXPECT_EQ(entries[3].size, 3u);
    EXPECT_EQ(entries[3].year, 2006);  // 26 on the wire
    EXPECT_EQ(entries[3].month * 100 + entries[3].day, 517);
    EXPECT_EQ(entries[3].hour * 100 + entries[3].minute, 1345);
    EXPECT_EQ(heard.listing->capacity, 4u << 20);
    EXPECT_EQ(heard.listing->used, 5 * sim::SimRecorder::kSpaceUnit);
    const std::string& sent = sim.instrument.Received();
    EXPECT_EQ(sent.substr(sent.find("bdir\r") + 5), "aaaaaaaa");
}

// Closing puts the line's own rate back: ACloseStopsWhatRunsThenPutsTheRateBack.
TEST_F(RecorderServiceTest, OpensAtTheDownloadRateAndRefusedRatesLeaveIt) {
    Finish(service.Open(57600));
    EXPECT_EQ(heard.rates, (std::vector<std::pair<uint32_t, bool>>{{57600, true}}));
    EXPECT_EQ(sim.link.GetBaudRate(), 57600u);
    ASSERT_TRUE(heard.listing);
    EXPECT_EQ(heard.listing->entries.size(), 3u);

    sim.instrument.GetFaults().refuseBaud = true;
    Finish(service.SetRate(115200));
    EXPECT_EQ(heard.rates.back(), std::make_pair(115200u, false));
    EXPECT_EQ(sim.link.GetBaudRate(), 57600u);
}

// Nothing selected still identifies the instrument and ends done at no time.
TEST_F(RecorderServiceTest, EveryFileArrivesIntactUnderItsModelsExtension) {
    const DownloadResult& result = Download(Listed());
    ASSERT_EQ(result.outcome, DownloadOutcome::kDone);
    ASSERT_EQ(result.files.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const DownloadedFile& file = result.files[i];
        EXPECT_EQ(file.outcome, FileOutcome::kComplete);
        EXPECT_EQ(file.path, (root / (file.name + ".mrv")).string());
        EXPECT_TRUE(Contents(file.path) == OnRecorder(i)) << file.name;
    }
    EXPECT_EQ(FilesSaved(), 3);
    EXPECT_EQ(result.folder, root.string());
    EXPECT_EQ(heard.ended.size(), 3u);
    EXPECT_EQ(heard.progress.front().position, 0);
    EXPECT_EQ(heard.Subjects(),
              (std::vector<std::string>{"DEP1.000.mrv", "DEP1.001.mrv", "TEST.000.mrv"}));
    EXPECT_EQ(heard.progress.back().position, 300);
    EXPECT_EQ(heard.progress.back().range, 300);
    EXPECT_TRUE(heard.progress.back().detail.starts_with("Time left 00:00:0"));
    EXPECT_GT(*result.elapsedMs, 100000u);  // 123 KiB at 9600 baud
    // The last file: "c", the entry, its block and the empty one, nothing rejected.
    EXPECT_EQ(SentInLastDownload(), "aaaa");

    sim.instrument.ClearReceived();
    EXPECT_EQ(Download({}).outcome, DownloadOutcome::kDone);
    EXPECT_EQ(heard.downloaded->elapsedMs, 0u);
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

TEST_F(RecorderServiceTest, ReplacingAsksPerExistingFileUntilYesToAll) {
    std::vector<RecorderFileEntry> entries = Listed();
    entries.erase(entries.begin());
    for (const ReplaceCase& c : {
             ReplaceCase{"YesAsksAgain", {ReplaceAnswer::kYes, ReplaceAnswer::kYes}, 2, true, true},
             ReplaceCase{"YesToAllAsksNoMore", {ReplaceAnswer::kYesToAll}, 1, true, true},
             ReplaceCase{
                 "NoKeepsTheFile", {ReplaceAnswer::kNo, ReplaceAnswer::kYes}, 2, false, true},
         }) {
        SCOPED_TRACE(c.name);
        std::ofstream(root / "DEP1.001.mrv") << "old";
        std::ofstream(root / "TEST.000.mrv") << "old";
        heard.replaceAsked.clear();
        heard.replaceAnswers = c.answers;
        const DownloadResult& result = Download(entries);
        EXPECT_EQ(heard.replaceAsked.size(), c.questions);
        EXPECT_EQ(heard.replaceAsked.front(), (root / "DEP1.001.mrv").string());
        EXPECT_EQ(Contents(root / "DEP1.001.mrv") == OnRecorder(1), c.firstReplaced);
        EXPECT_EQ(Contents(root / "TEST.000.mrv") == OnRecorder(2), c.secondReplaced);
        // A file kept counts as arrived, and for the bar.
        EXPECT_EQ(result.outcome, DownloadOutcome::kDone);
        EXPECT_EQ(heard.progress.back().position, 300);
    }
}

// Stopped while identifying, at the first blocks, mid-block and in the second file: what came is
// kept, the instrument is told with three "b", and once the line has fallen quiet the next
// command meets the command line.
class DownloadStoppedAnyTime : public RecorderServiceTest,
                               public testing::WithParamInterface<uint32_t> {};

TEST_P(DownloadStoppedAnyTime, KeepsWhatCameAndTellsTheInstrument) {
    StopAfter(service.Download({Listed(), root.string(), std::nullopt}), GetParam());
    const DownloadResult& result = *heard.downloaded;
    ASSERT_EQ(result.outcome, DownloadOutcome::kCancelled);
    if (!result.files.empty()) {
        // Nothing of a cut file goes under its own name; an empty one leaves nothing at all.
        const DownloadedFile& cut = result.files.back();
        EXPECT_EQ(cut.outcome, cut.received == 0 ? FileOutcome::kFailed : FileOutcome::kPartial);
        EXPECT_EQ(cut.path.ends_with(".part"), cut.received > 0) << cut.path;
        EXPECT_EQ(fs::exists(cut.path), cut.received > 0);
        EXPECT_EQ(Contents(cut.path), OnRecorder(result.files.size() - 1).substr(0, cut.received));
        const std::string sent = SentInLastDownload();
        EXPECT_EQ(sent.substr(sent.rfind('a') + 1, 3), "bbb") << sent;
    }
    ExpectTheNextCommandAnswered();
}

INSTANTIATE_TEST_SUITE_P(Moments, DownloadStoppedAnyTime,
                         testing::Values(0u, 600u, 2500u, 3100u, 60000u, 110000u));

// A cut download leaves the complete file of an earlier one alone; the next whole download takes
// the name and clears the part. The instrument's end block before the size it listed is a file
// cut short too, not a done download.
TEST_F(RecorderServiceTest, APartialFileNeverTakesTheNameOfACompleteOne) {
    std::vector<RecorderFileEntry> entries = Listed();
    entries.resize(2);
    std::ofstream(root / "DEP1.000.mrv") << "complete";
    StopAfter(service.Download({{entries[0]}, root.string(), std::nullopt}), 8000);
    EXPECT_EQ(Contents(root / "DEP1.000.mrv"), "complete");
    EXPECT_EQ(heard.downloaded->files.at(0).path, (root / "DEP1.000.mrv.part").string());
    EXPECT_GT(fs::file_size(root / "DEP1.000.mrv.part"), 0u);
    EXPECT_NE(
        recorder_texts::DownloadEndDetail(*heard.downloaded).find("\nPartial: DEP1.000.mrv.part"),
        std::string::npos);

    EXPECT_EQ(Download({entries[0]}).outcome, DownloadOutcome::kDone);
    EXPECT_TRUE(Contents(root / "DEP1.000.mrv") == OnRecorder(0));
    EXPECT_FALSE(fs::exists(root / "DEP1.000.mrv.part"));

    fs::remove(root / "DEP1.000.mrv");
    entries[0].size += 1;
    const DownloadResult& result = Download(entries);
    EXPECT_EQ(result.outcome, DownloadOutcome::kIncomplete);
    EXPECT_EQ(result.files[0].outcome, FileOutcome::kPartial);
    EXPECT_EQ(result.files[1].outcome, FileOutcome::kComplete);
    EXPECT_TRUE(Contents(root / "DEP1.000.mrv.part") == OnRecorder(0));
    EXPECT_EQ(recorder_texts::DownloadEnd(result), "Incomplete");
}

// A rate refused by the instrument or the port fetches nothing.
TEST_F(RecorderServiceTest, ADownloadAtARateOfItsOwnPutsTheRateBack) {
    std::vector<RecorderFileEntry> entries = Listed();
    entries.resize(1);
    sim.instrument.GetFaults().refuseBaud = true;
    EXPECT_EQ(Download(entries, 115200).outcome, DownloadOutcome::kRateRefused);
    EXPECT_EQ(sim.instrument.Received().find("download "), std::string::npos);

    sim.instrument.GetFaults().refuseBaud = false;
    const DownloadResult& result = Download(entries, 115200);
    EXPECT_EQ(result.outcome, DownloadOutcome::kDone);
    EXPECT_LT(*result.elapsedMs, 12000u);  // 96 KiB at 115200 baud
    EXPECT_FALSE(result.rateNotRestored);
    EXPECT_EQ(sim.link.GetBaudRate(), 9600u);
    ExpectTheNextCommandAnswered();

    // Through a port that carries bytes only, no "BAUD" goes out: the instrument would go to a
    // rate the line cannot follow.
    sim.device.SetCapabilities({false, false, "raw TCP"});
    EXPECT_EQ(service.RateLimits(), "raw TCP");
    sim.instrument.ClearReceived();
    EXPECT_EQ(Download(entries, 115200).outcome, DownloadOutcome::kRateRefused);
    EXPECT_EQ(sim.instrument.Received().find("BAUD"), std::string::npos);
    EXPECT_EQ(sim.link.GetBaudRate(), 9600u);
}

// A block spoiled twice, then noise on the whole line (about one block in twenty spoiled); more
// attempts carry a block through a noisier line.
TEST_F(RecorderServiceTest, SpoiledBlocksAreRejectedUntilTheyArriveIntact) {
    std::vector<RecorderFileEntry> entries = Listed();
    entries.resize(1);
    sim::Faults& faults = sim.instrument.GetFaults();
    faults.badChecksumBlock = 2;
    faults.badChecksumSends = 2;
    EXPECT_EQ(Download(entries).outcome, DownloadOutcome::kDone);
    EXPECT_TRUE(SentInLastDownload().starts_with("aaabbaa")) << SentInLastDownload();
    EXPECT_TRUE(Contents(root / "DEP1.000.mrv") == OnRecorder(0));

    faults.badChecksumBlock = -1;
    faults.bitErrorRate = 0.000006;
    EXPECT_EQ(Download(entries).outcome, DownloadOutcome::kDone);
    EXPECT_GT(Count(SentInLastDownload(), "b"), 0u);
    EXPECT_TRUE(Contents(root / "DEP1.000.mrv") == OnRecorder(0));

    // A block spoiled five times is given up on at three attempts, fetched at six.
    faults.bitErrorRate = 0;
    faults.badChecksumBlock = 2;
    faults.badChecksumSends = 5;
    heard.answers = {MessageResult::kNo};
    EXPECT_EQ(Download(entries).outcome, DownloadOutcome::kCancelled);
    Finish(service.Download({entries, root.string(), std::nullopt, 6}));
    EXPECT_EQ(heard.downloaded->outcome, DownloadOutcome::kDone);
    EXPECT_TRUE(Contents(root / "DEP1.000.mrv") == OnRecorder(0));
}

// Damage the checksum cannot see: a verified download fetches again until two copies agree,
// and never takes a file whose copies keep differing for a whole one. Stopped while fetching the
// check copy, the first copy stays a ".part" file and no copy is left behind; the bar counts both
// copies, so the check copy runs in its second half.
TEST_F(RecorderServiceTest, AVerifiedDownloadFetchesUntilTwoCopiesAgree) {
    std::vector<RecorderFileEntry> entries = Listed();
    entries.resize(1);
    sim.instrument.GetFaults().blindDamageDownloads = 1;
    Finish(StartVerified(entries));
    EXPECT_EQ(heard.downloaded->outcome, DownloadOutcome::kDone);
    EXPECT_TRUE(Contents(root / "DEP1.000.mrv") == OnRecorder(0));
    EXPECT_EQ(Count(sim.instrument.Received(), "download DEP1.000"), 3u);
    EXPECT_EQ(FilesSaved(), 1);

    sim.instrument.GetFaults().blindDamageDownloads = 1 + 5;
    Finish(StartVerified(entries));
    const DownloadedFile& file = heard.downloaded->files.at(0);
    EXPECT_EQ(file.outcome, FileOutcome::kUnverified);
    EXPECT_EQ(heard.downloaded->outcome, DownloadOutcome::kIncomplete);
    EXPECT_EQ(file.path, (root / "DEP1.000.mrv.part").string());
    EXPECT_EQ(Count(sim.instrument.Received(), "download DEP1.000"), 3u + 5u);

    fs::remove_all(root);
    fs::create_directory(root);
    heard.progress.clear();
    ASSERT_TRUE(StartVerified(entries));
    sim.PumpUntil(
        [this] {
            return !heard.progress.empty() &&
                   heard.progress.back().position > heard.progress.back().range / 2 + 10;
        },
        600000);
    service.Stop();
    Finish(true);
    EXPECT_EQ(heard.downloaded->files.at(0).outcome, FileOutcome::kUnverified);
    ASSERT_EQ(FilesSaved(), 1);
    EXPECT_TRUE(Contents(root / "DEP1.000.mrv.part") == OnRecorder(0));
}

// A download the instrument refuses is asked about: Yes goes on with the next file, No cancels.
TEST_F(RecorderServiceTest, ReadErrorsAskWhetherToGoOn) {
    const std::vector<RecorderFileEntry> entries = Listed();
    sim.instrument.GetFaults().rejectDownload = true;
    heard.answers = {MessageResult::kYes, MessageResult::kNo};
    EXPECT_EQ(Download(entries).outcome, DownloadOutcome::kCancelled);
    EXPECT_EQ(heard.messages,
              (std::vector<std::string>{"Error reading 'DEP1.000'\nDo you want to continue?",
                                        "Error reading 'DEP1.001'\nDo you want to continue?"}));
    EXPECT_EQ(sim.instrument.Received().find("download TEST.000"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(root));
}

// A recorder that hangs mid-file is told "d" and the user asked; either way the file is partial
// and the download not done.
TEST_F(RecorderServiceTest, AStalledInstrumentIsStoppedWithDThenAsked) {
    std::vector<RecorderFileEntry> entries = Listed();
    entries.resize(1);
    for (const MessageResult answer : {MessageResult::kNo, MessageResult::kYes}) {
        sim.instrument.GetFaults().stallAfterBlocks = 3;
        heard.answers = {answer};
        const DownloadResult& result = Download(entries);
        const bool no = answer == MessageResult::kNo;
        EXPECT_EQ(result.outcome, no ? DownloadOutcome::kCancelled : DownloadOutcome::kIncomplete);
        const std::string sent = SentInLastDownload();
        EXPECT_EQ(sent.substr(sent.rfind('a') + 1, 7), no ? "bbbdbbb" : "bbbd") << sent;
        EXPECT_EQ(Contents(root / "DEP1.000.mrv.part"), OnRecorder(0).substr(0, 2048));
        EXPECT_EQ(heard.messages.back(), "Error reading 'DEP1.000'\nDo you want to continue?");
        sim.instrument.GetFaults().stallAfterBlocks = -1;
        sim.link.SendBreak();  // woken for the next round
    }
}

// A file that cannot be created is reported even when it is empty.
TEST_F(RecorderServiceTest, AFullDiskIsAskedAboutWithTheSystemsReason) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "the system has no /dev/full to stand in for a full disk";
    }
    sim.instrument.Recorder().AddFile({"EMPTY.000", ""});
    std::vector<RecorderFileEntry> entries = Listed();
    fs::create_symlink("/dev/full", root / "DEP1.000.mrv.part");
    heard.answers = {MessageResult::kNo};
    const DownloadResult& result = Download(entries);
    EXPECT_EQ(result.outcome, DownloadOutcome::kWriteFailed);
    EXPECT_EQ(recorder_texts::DownloadEnd(result), "Not written: No space left on device");
    EXPECT_EQ(heard.messages, std::vector<std::string>{
                                  "Error writing to '" + (root / "DEP1.000.mrv.part").string() +
                                  "'\nError: 28 (No space left on device)\nContinue?"});
    EXPECT_EQ(result.files[0].outcome, FileOutcome::kFailed);  // nothing of it stored
    // The block that could not be written is rejected right after its acknowledgement.
    EXPECT_TRUE(SentInLastDownload().starts_with("aaab")) << SentInLastDownload();
    ExpectTheNextCommandAnswered();

    fs::create_directory(root / "EMPTY.000.mrv.part");
    EXPECT_EQ(Download({entries[3]}).files[0].outcome, FileOutcome::kFailed);
    ASSERT_EQ(heard.messages.size(), 2u);
    EXPECT_NE(heard.messages[1].find("\nError: 21 (Is a directory)\n"), std::string::npos);
}

TEST_F(RecorderServiceTest, NamesThatAreNotPlainFileNamesAreRefusedAndNothingLandsOutside) {
    for (const std::string name : {"../EVIL.000", "A/B.000", "C\\D.000", "", "..", "X\x01Y"}) {
        sim.instrument.Recorder().AddFile({name, "x"});
    }
    std::vector<RecorderFileEntry> entries = Listed();
    entries.erase(entries.begin(), entries.begin() + 2);
    const DownloadResult& result = Download(entries);
    EXPECT_EQ(heard.messages.size(), 6u);
    EXPECT_EQ(heard.messages[0],
              "'../EVIL.000' cannot be saved: the name is not a plain file name\n"
              "Do you want to continue?");
    EXPECT_EQ(heard.messages[5].substr(0, 8), "'X\\x01Y'");
    EXPECT_EQ(FilesSaved(), 1);
    EXPECT_EQ(Count(sim.instrument.Received(), "download "), 1u);
    EXPECT_EQ(result.files[1].outcome, FileOutcome::kRefused);
}

TEST_F(RecorderServiceTest, AVanishedPortEndsTheDownloadKeepingWhatCame) {
    ASSERT_TRUE(service.Download({Listed(), root.string(), std::nullopt}));
    sim.PumpUntil([] { return false; }, 3500);
    sim.device.SetVanished(true);
    Finish(true);
    EXPECT_EQ(heard.downloaded->outcome, DownloadOutcome::kConnectionLost);
    EXPECT_EQ(heard.messages,
              std::vector<std::string>{"Lost the connection while reading 'DEP1.000':\n"
                                       "Input/output error"});
    const DownloadedFile& cut = heard.downloaded->files.at(0);
    EXPECT_GT(cut.received, 0u);
    EXPECT_EQ(Contents(cut.path), OnRecorder(0).substr(0, cut.received));
}

// A silent instrument: no download and no format begins.
TEST_F(RecorderServiceTest, NoKnownInstrumentIsSaidAndNothingIsFetchedOrFormatted) {
    const std::vector<RecorderFileEntry> entries = Listed();
    sim.instrument.GetFaults().silent = true;
    const DownloadResult& result = Download(entries);
    EXPECT_EQ(result.outcome, DownloadOutcome::kNoInstrument);
    EXPECT_FALSE(result.elapsedMs);
    EXPECT_EQ(heard.messages,
              std::vector<std::string>{"Unable to connect to any known instrument"});

    Finish(service.Format());
    EXPECT_EQ(heard.formatted, FormatOutcome::kNotStarted);
    EXPECT_TRUE(heard.Subjects().empty());
    EXPECT_EQ(sim.ui.messages.at(0).text, "FAIL TO LOCATE PROMPT");
}

TEST(RecorderModels, NameTheFileAfterTheModelTheInstrumentReports) {
    for (const auto& [model, extension] :
         {std::pair{sim::Model::kKtx, ".ktx"}, std::pair{sim::Model::kPelorin, ".ktx"},
          std::pair{sim::Model::kCorvex, ".crv"}, std::pair{sim::Model::kMirovanAdv, ".mrv"}}) {
        RecorderRig rig({.model = model});
        EXPECT_EQ(rig.Download({rig.Listed().back()}).files[0].path,
                  (rig.root / (std::string("TEST.000") + extension)).string());
    }
}

// One that is never confirmed goes a hundred rounds of half a second and a pause each, then is
// said to be unconfirmed, not done.
TEST_F(RecorderServiceTest, AFormatAnswersTheQuestionOnceAndCountsItsRounds) {
    Finish(service.Format());
    EXPECT_EQ(heard.formatted, FormatOutcome::kDone);
    const std::string& sent = sim.instrument.Received();
    EXPECT_EQ(sent.substr(sent.find("format\r") + 7), "yes\r");
    EXPECT_EQ(heard.Subjects().front(), "Formatting (1%)");
    EXPECT_EQ(heard.progress.back().range, 100);
    EXPECT_TRUE(Listed().empty());

    RecorderRig slow({.formatMs = 600000});
    const uint32_t start = slow.sim.clock.TickCount();
    slow.Finish(slow.service.Format());
    EXPECT_EQ(slow.heard.formatted, FormatOutcome::kUnconfirmed);
    EXPECT_EQ(slow.heard.Subjects().back(), "Formatting (100%)");
    EXPECT_GE(slow.sim.clock.TickCount() - start, 100u * (500 + 10));
    EXPECT_LT(slow.sim.clock.TickCount() - start, 100u * (500 + 10) + 4000);
}

class FormatStoppedAnyTime : public RecorderServiceTest,
                             public testing::WithParamInterface<uint32_t> {};

// Stopped once the instrument was told yes, the card may be erased all the same; either way the
// wait for its prompt is said before it begins.
TEST_P(FormatStoppedAnyTime, TellsTheInstrumentAndLeavesItAnswering) {
    StopAfter(service.Format(), GetParam());
    ASSERT_TRUE(heard.formatted);
    const std::string& sent = sim.instrument.Received();
    const size_t format = sent.rfind("format\r");
    if (*heard.formatted != FormatOutcome::kDone) {
        EXPECT_NE(sent.find("bbb \r", format), std::string::npos) << sent;
        EXPECT_EQ(*heard.formatted, sent.find("yes\r", format) != std::string::npos
                                        ? FormatOutcome::kCancelledErasing
                                        : FormatOutcome::kCancelled);
        EXPECT_EQ(heard.progress.back().subject, "Cancelled");
        EXPECT_EQ(heard.progress.back().detail, recorder_texts::kWaitingForPrompt);
    }
    ExpectTheNextCommandAnswered(false);
}

INSTANTIATE_TEST_SUITE_P(Moments, FormatStoppedAnyTime,
                         testing::Values(0u, 200u, 900u, 2000u, 5000u));

// Closed during a listing and during a download: each stops, its result still comes, and the
// line is back at its rate with the instrument answering.
TEST_F(RecorderServiceTest, ACloseStopsWhatRunsThenPutsTheRateBack) {
    for (const bool downloading : {false, true}) {
        ASSERT_TRUE(downloading ? service.Download({Listed(), root.string(), std::nullopt})
                                : service.Open(57600));
        sim.PumpUntil([] { return false; }, downloading ? 4000 : 300);
        bool closed = false;
        ASSERT_TRUE(service.Close([&closed] { closed = true; }));
        ASSERT_TRUE(sim.PumpUntil([&closed] { return closed; }, 60000));
        EXPECT_FALSE(service.IsBusy());
        EXPECT_EQ(sim.link.GetBaudRate(), 9600u);
        EXPECT_TRUE(downloading ? heard.downloaded.has_value() : heard.listings > 0);
        ExpectTheNextCommandAnswered();
    }
}

}  // namespace
}  // namespace brennix::test
