#include "instrument/instrument.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "instrument/block_frame.h"
#include "instrument/command_file.h"
#include "link/prompt_probe.h"

namespace brennix {

namespace {

constexpr uint32_t kWriteTimeoutMs = 1000;
constexpr uint32_t kLocatePromptMs = 2500;
constexpr uint32_t kEchoSettleMs = 150;
constexpr uint32_t kEchoMs = 2000;
constexpr size_t kEchoBufferSize = 1024;

constexpr uint32_t kRetransmitPauseMs = 100;
constexpr int kRetransmitAttempts = 10;
constexpr uint32_t kQuietPollMs = 100;
// A line that never falls quiet (an instrument streaming data) is given up on after 10 s.
constexpr int kQuietPollLimit = 100;
constexpr uint32_t kCharWriteMs = 5;
constexpr uint32_t kCharPollMs = 5;
constexpr int kCharMissLimit = 100;
constexpr uint32_t kCharEchoMs = 50;

constexpr const char* kUnknownError = "Unknown Error ";
constexpr const char* kOkToken = "OK";

constexpr size_t kCommandLineSize = 99;
constexpr uint32_t kCommandLineMs = 1500;
constexpr uint32_t kMinCommandOkLines = 2;

constexpr uint32_t kFramePartMs = 1000;

constexpr size_t kRunTextReplySize = 1000;
constexpr uint32_t kRunTextOkMs = 3000;

// Copies text into buffer, cut to fit, keeping it NUL-terminated.
void CopyText(std::span<char> buffer, std::string_view text) {
    if (buffer.empty()) {
        return;
    }
    const size_t length = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.begin(), length, buffer.begin());
    buffer[length] = '\0';
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        if (end > start) {
            lines.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return lines;
}

}  // namespace

CInstrument::CInstrument(Clock& clock, UiHost& ui) : clock_(clock), ui_(ui) {}

void CInstrument::ContinueConversation(const Conversation& conversation) {
    sdi12Mode_ = conversation.sdi12Mode;
    lastFindResult_ = conversation.lastFindResult;
    lastVersionLine_ = conversation.lastVersionLine;
}

bool CInstrument::SendCommand(const std::string& command, char prompt, bool locateFirst) {
    if (link_ == nullptr || command.size() > kMaxCommandLength) {
        return false;
    }
    if (sdi12Mode_) {
        // SDI-12 ends a command with "!" and has neither prompt nor echo. Nothing answers that
        // it arrived, so it is seen off the port: a wake-up's purge right after must not
        // discard it.
        return link_->Write(command + "!", kWriteTimeoutMs, false) &&
               link_->WaitSent(kWriteTimeoutMs);
    }
    if (locateFirst && !LocatePrompt(prompt)) {
        // A stopped job asked for nothing the user needs to hear about.
        if (!link_->Waits().StopRequested()) {
            ShowFailure("FAIL TO LOCATE PROMPT");
        }
        return false;
    }
    link_->FlushInput(false);
    link_->Write(command + "\r", kWriteTimeoutMs, false);
    link_->Waits().Pause(kEchoSettleMs);
    // The instrument echoes what it hears: finding the whole command means it arrived intact.
    std::array<char, kEchoBufferSize> echo{};
    if (link_->ReadUntil(echo, command, kEchoMs, 0, true)) {
        return true;
    }
    return Retransmit(command);
}

bool CInstrument::LocatePrompt(char prompt) {
    link_->FlushInput(false);
    link_->Write("\r\r", kWriteTimeoutMs, false);
    std::array<char, kEchoBufferSize> reply{};
    return WaitFor(reply, std::string(1, prompt), kLocatePromptMs, false);
}

// Sends the command again one verified character at a time. The line's CR is not sent again:
// the caller goes on to wait for the command's answer.
bool CInstrument::Retransmit(const std::string& command) {
    // A stopped job's command is not typed again: ten rounds of it would reach the instrument.
    if (command.size() > kMaxRetransmitLength || link_->Waits().StopRequested()) {
        return false;
    }
    link_->Waits().Pause(kRetransmitPauseMs);
    if (!link_->Purge(kPurgeTxClear)) {
        ShowFailure("FAIL TO CLEAR TRANSMIT BUFFER");
        return false;
    }
    if (!link_->Purge(kPurgeRxClear)) {
        ShowFailure("FAIL TO CLEAR RECEIVE BUFFER");
        return false;
    }
    for (int attempt = 0; attempt < kRetransmitAttempts; ++attempt) {
        if (!WaitForQuietLine() || link_->Waits().StopRequested()) {
            return false;
        }
        std::string echoed(command.size(), '\0');
        for (size_t i = 0; i < command.size(); ++i) {
            uint8_t echo = 0;
            SendCharChecked(command[i], echo);
            echoed[i] = static_cast<char>(echo);
        }
        if (echoed == command) {
            return true;
        }
    }
    return false;
}

bool CInstrument::WaitForQuietLine() {
    for (int poll = 0; poll < kQuietPollLimit; ++poll) {
        link_->Waits().Pause(kQuietPollMs);
        const uint32_t waiting = link_->BytesWaiting();
        if (!link_->Purge(kPurgeRxClear)) {
            ShowFailure("FAIL TO CLEAR RECEIVE BUFFER 2");
            return false;
        }
        if (waiting == 0) {
            return true;
        }
    }
    return false;
}

bool CInstrument::SendCharChecked(char character, uint8_t& echo) {
    if (!link_->Purge(kPurgeTxClear) || !link_->Purge(kPurgeRxClear)) {
        return false;
    }
    const auto byte = static_cast<uint8_t>(character);
    if (!link_->WriteChar(byte, kCharWriteMs)) {
        return false;
    }
    link_->Waits().Pause(kCharWriteMs);
    int misses = 0;
    do {
        if (link_->BytesWaiting() == 0) {
            link_->Waits().Pause(kCharPollMs);
            if (++misses >= kCharMissLimit) {
                return false;
            }
        }
    } while (!link_->ReadChar(echo, kCharEchoMs, true));
    return echo == byte;
}

bool CInstrument::WaitFor(std::span<char> buffer, const std::string& token, uint32_t timeoutMs,
                          bool stopAtPrompt) {
    if (link_ == nullptr) {
        return false;
    }
    return link_->ReadUntil(buffer, token, timeoutMs, stopAtPrompt ? kPrompt : '\0', true);
}

bool CInstrument::ExecCommand(const std::string& command, std::span<char> reply, bool expectOk,
                              uint32_t timeoutMs, const CommandSender& send) {
    // A caller that shows the reply after a failure shows this.
    CopyText(reply, kUnknownError);
    const bool sent = send ? send(command) : SendCommand(command);
    if (!sent) {
        return false;
    }
    return !expectOk || WaitFor(reply, kOkToken, timeoutMs, true);
}

bool CInstrument::CommandOk(const std::string& command, uint32_t timeoutMs) {
    if (command.size() > kMaxCommandOkLength || !SendCommand(command)) {
        return false;
    }
    // About one reply line per second of the time-out, and at least two.
    const uint64_t lines =
        std::max<uint64_t>((static_cast<uint64_t>(timeoutMs) + 500) / 1000, kMinCommandOkLines);
    std::array<char, kCommandLineSize> line{};
    for (uint64_t i = 0; i < lines; ++i) {
        link_->ReadLine(line, kCommandLineMs, false);
        if (Holds(line, kOkToken) || Holds(line, "Default")) {
            return true;
        }
    }
    // Take in one more line of the answer before giving up.
    link_->ReadLine(line, kCommandLineMs, false);
    return false;
}

// The frame after the command's echo: "OK", a line end, the length (block size + 4), the block,
// its checksum and two closing bytes.
bool CInstrument::ReadBlock(const std::string& command, std::span<uint8_t> block,
                            uint32_t timeoutMs) {
    const uint32_t start = clock_.TickCount();
    if (!SendCommand(command) || !AwaitBlockStart(start, timeoutMs)) {
        return false;
    }
    std::array<uint8_t, kFrameWordSize> field{};
    if (!ReadExactly(field, kFramePartMs, true)) {
        return false;
    }
    // The length is checked before the block is read, so a frame of another size never reaches
    // past the caller's buffer.
    if (!ReadExactly(field, kFramePartMs, false) || AnnouncedDataLength(field) != block.size()) {
        return false;
    }
    if (!ReadExactly(block, timeoutMs, false) || !ReadExactly(field, kFramePartMs, false) ||
        !ChecksumMatches(block, field)) {
        return false;
    }
    size_t done = 0;
    link_->Read(field, done, kFramePartMs, false);
    return true;
}

bool CInstrument::AwaitBlockStart(uint32_t startTick, uint32_t timeoutMs) {
    uint8_t previous = 0;
    uint8_t current = 0;
    for (;;) {
        uint8_t byte = 0;
        if (link_->ReadChar(byte, kFramePartMs, true)) {
            previous = std::exchange(current, byte);
            if (previous == 'O' && current == 'K') {
                return true;
            }
        }
        if (link_->Waits().StopRequested() ||
            HasExpired(startTick, clock_.TickCount(), timeoutMs)) {
            return false;
        }
    }
}

bool CInstrument::ReadExactly(std::span<uint8_t> bytes, uint32_t timeoutMs, bool echo) {
    size_t done = 0;
    return link_->Read(bytes, done, timeoutMs, echo) && done == bytes.size();
}

bool CInstrument::RunText(const std::string& text) {
    if (link_ == nullptr) {
        return false;
    }
    std::vector<char> reply(kRunTextReplySize);
    for (const std::string& line : SplitLines(text)) {
        link_->FlushInput(false);
        // A line that is not answered with "OK" does not stop the text.
        ExecCommand(line, reply, true, kRunTextOkMs);
        link_->FlushInput(false);
    }
    return true;
}

bool CInstrument::RunFile(const std::string& path) {
    const CommandFile file = ReadCommandFile(path);
    return file.ok && RunText(file.text);
}

bool CInstrument::ProbePrompt(CSerialLink& link) {
    SetLink(&link);
    return brennix::ProbePrompt(link);
}

bool CInstrument::SendBreak() {
    return link_ != nullptr && link_->SendBreak();
}

void CInstrument::ShowFailure(const char* text) {
    ui_.ShowMessage(text, "", MessageButtons::kOk, MessageIcon::kNone);
}

std::string_view CInstrument::ReplyText(std::span<const char> buffer) {
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return std::string_view(buffer.data(), static_cast<size_t>(end - buffer.begin()));
}

bool CInstrument::Holds(std::span<const char> buffer, std::string_view token) {
    return ReplyText(buffer).find(token) != std::string_view::npos;
}

}  // namespace brennix
