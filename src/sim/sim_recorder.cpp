#include "sim/sim_recorder.h"

#include <memory>

#include "sim/block_framer.h"
#include "sim/block_transfer_mode.h"

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

std::string Frame(const std::string& data, const Faults& faults) {
    return FrameBlock({reinterpret_cast<const uint8_t*>(data.data()), data.size()}, faults);
}

}  // namespace

SimRecorder::SimRecorder(const Settings& settings, const Faults& faults, ModeHost& host)
    : faults_(faults),
      host_(host),
      capacity_(settings.recorderCapacity),
      extraUsed_(settings.recorderUsed) {}

void SimRecorder::RegisterWith(CommandInterpreter& interpreter) {
    interpreter.Register({"bdir"}, [this](std::string_view, int64_t) { return Directory(); });
}

void SimRecorder::AddFile(RecorderFile file) {
    files_.push_back(std::move(file));
}

uint32_t SimRecorder::UsedBytes() const {
    uint64_t used = extraUsed_;
    for (const RecorderFile& file : files_) {
        used += (file.data.size() + kSpaceUnit - 1) / kSpaceUnit * kSpaceUnit;
    }
    return static_cast<uint32_t>(std::min<uint64_t>(used, UINT32_MAX));
}

Reply SimRecorder::Directory() {
    std::vector<std::string> frames;
    frames.push_back(Frame(HeaderBlock(), faults_));
    for (const RecorderFile& file : files_) {
        frames.push_back(Frame(EntryBlock(file), faults_));
    }
    frames.push_back(Frame("", faults_));
    std::string used(2, '\0');
    PutLittleEndian(used, 0, UsedBytes() / kSpaceUnit, 2);
    frames.push_back(Frame(used, faults_));
    Reply reply{"OK\r\n"};
    reply.next = std::make_unique<BlockTransferMode>(host_, std::move(frames));
    return reply;
}

std::string SimRecorder::HeaderBlock() const {
    std::string header(kHeaderSize, '\0');
    header.replace(0, 8, "OSTRLREC");
    PutLittleEndian(header, kCapacityOffset, capacity_, 4);
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
