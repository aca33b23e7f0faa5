#include "sim/sim_recorder.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "sim/block_framer.h"
#include "sim/block_transfer_mode.h"
#include "sim/format_mode.h"
#include "sim/line_rates.h"
#include "sim/rate_switch_mode.h"
#include "sim/text_case.h"

namespace brennix::sim {

namespace {

constexpr size_t kHeaderSize = 80;
constexpr size_t kCapacityOffset = 74;
constexpr size_t kEntrySize = 28;
constexpr size_t kNameSize = 13;
constexpr int kYearBase = 1980;

void PutLittleEndian(std::string& bytes, size_t offset, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) {
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

uint64_t RoundedUp(uint64_t bytes) {
    return (bytes + SimRecorder::kSpaceUnit - 1) / SimRecorder::kSpaceUnit *
           SimRecorder::kSpaceUnit;
}

}  // namespace

SimRecorder::SimRecorder(const Settings& settings, const Faults& faults, ModeHost& host)
    : settings_(settings), faults_(faults), host_(host) {
    if (!settings.recorderFolder.empty()) {
        RecorderFolder folder = LoadRecorderFolder(settings.recorderFolder);
        files_ = std::move(folder.files);
        skipped_ = std::move(folder.skipped);
        folderError_ = std::move(folder.error);
    } else if (settings.recorderSamples) {
        files_ = SampleRecorderFiles();
    }
}

void SimRecorder::RegisterWith(CommandInterpreter& interpreter) {
    interpreter.Register({"bdir"}, [this](std::string_view, int64_t) { return Directory(); });
    interpreter.Register({"download"},
                         [this](std::string_view name, int64_t) { return Download(name); });
    interpreter.Register({"format"}, [this](std::string_view, int64_t) { return Format(); });
    interpreter.Register({"BAUD"},
                         [this](std::string_view argument, int64_t) { return Baud(argument); });
}

void SimRecorder::AddFile(RecorderFile file) {
    files_.push_back(std::move(file));
}

// A folder of files larger than the card makes a larger card.
uint32_t SimRecorder::Capacity() const {
    return std::max(settings_.recorderCapacity, UsedBytes());
}

uint32_t SimRecorder::UsedBytes() const {
    uint64_t used = settings_.recorderUsed;
    for (const RecorderFile& file : files_) {
        used += RoundedUp(file.data.size());
    }
    return static_cast<uint32_t>(std::min<uint64_t>(used, UINT32_MAX));
}

Reply SimRecorder::Directory() {
    std::vector<std::string> blocks{HeaderBlock()};
    for (const RecorderFile& file : files_) {
        blocks.push_back(EntryBlock(file));
    }
    blocks.emplace_back();
    std::string used(2, '\0');
    PutLittleEndian(used, 0, UsedBytes() / kSpaceUnit, 2);
    blocks.push_back(used);
    return Transfer(blocks, "OK\r\n");
}

namespace {

// Bit 3 set in one byte and cleared in another: +8 and -8, the same sum. Each round picks other
// bytes, as noise would.
void DamageUnseen(std::string& block, int round) {
    constexpr char kBit = 0x08;
    const auto nth = [&block, round](bool bitSet) {
        int seen = 0;
        return std::find_if(block.begin(), block.end(),
                            [&](char c) { return ((c & kBit) != 0) == bitSet && seen++ == round; });
    };
    const auto clear = nth(false);
    const auto set = nth(true);
    if (clear != block.end() && set != block.end()) {
        *clear = static_cast<char>(*clear | kBit);
        *set = static_cast<char>(*set & ~kBit);
    }
}

}  // namespace

// Error texts here hold no "c", which the host would take for the ready signal.
Reply SimRecorder::Download(std::string_view name) {
    if (faults_.rejectDownload) {
        return CommandInterpreter::Error("download refused");
    }
    const auto file = std::find_if(files_.begin(), files_.end(), [name](const RecorderFile& f) {
        return EqualsIgnoringCase(f.name, name);
    });
    if (file == files_.end()) {
        return CommandInterpreter::Error("file not found");
    }
    std::vector<std::string> blocks{EntryBlock(*file)};
    for (size_t at = 0; at < file->data.size(); at += kBlockSize) {
        blocks.push_back(file->data.substr(at, kBlockSize));
    }
    blocks.emplace_back();
    if (blindDamaged_ < faults_.blindDamageDownloads && blocks.size() > 2) {
        DamageUnseen(blocks[1], blindDamaged_++);
    }
    return Transfer(blocks, "OK\r\n");
}

Reply SimRecorder::Transfer(const std::vector<std::string>& blocks, std::string reply) {
    std::vector<std::string> frames;
    frames.reserve(blocks.size());
    for (const std::string& block : blocks) {
        frames.push_back(
            FrameBlock({reinterpret_cast<const uint8_t*>(block.data()), block.size()}, faults_));
    }
    Reply answer{std::move(reply)};
    answer.next = std::make_unique<BlockTransferMode>(host_, std::move(frames), faults_);
    return answer;
}

Reply SimRecorder::Format() {
    Reply reply{"\r\nErase all files on the recorder? YES or NO\r\n"};
    reply.next =
        std::make_unique<FormatMode>(host_, settings_.formatMs, [this] { files_.clear(); });
    return reply;
}

// "BAUD 0 N": port 0 is the instrument's only one.
Reply SimRecorder::Baud(std::string_view argument) {
    if (!argument.starts_with("0 ")) {
        return CommandInterpreter::Error("use BAUD 0 RATE");
    }
    const std::string_view digits = argument.substr(2);
    uint32_t rate = 0;
    const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), rate);
    if (status != std::errc() || end != digits.data() + digits.size() || !IsLineRate(rate)) {
        return CommandInterpreter::Error("unsupported rate");
    }
    if (faults_.refuseBaud) {
        return CommandInterpreter::Error("rate change refused");
    }
    Reply reply = CommandInterpreter::Ok();
    reply.next = std::make_unique<RateSwitchMode>(host_, rate);
    return reply;
}

std::string SimRecorder::HeaderBlock() const {
    std::string header(kHeaderSize, '\0');
    header.replace(0, 8, "OSTRLREC");
    PutLittleEndian(header, kCapacityOffset, Capacity(), 4);
    return header;
}

std::string SimRecorder::EntryBlock(const RecorderFile& file) {
    std::string entry(kEntrySize, '\0');
    entry.replace(0, std::min(file.name.size(), kNameSize - 1), file.name, 0, kNameSize - 1);
    PutLittleEndian(entry, 13, file.data.size(), 4);
    PutLittleEndian(entry, 20, static_cast<uint64_t>(file.year - kYearBase), 2);
    entry[22] = static_cast<char>(file.day);
    entry[23] = static_cast<char>(file.month);
    entry[24] = static_cast<char>(file.minute);
    entry[25] = static_cast<char>(file.hour);
    entry[27] = static_cast<char>(file.second);
    return entry;
}

}  // namespace brennix::sim
