#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "instrument/instrument_codes.h"
#include "link/serial_link.h"
#include "platform/clock.h"
#include "platform/ui_host.h"

namespace brennix {

// The conversation with the instrument on top of the serial link: wake-up and identification,
// verified commands, waits for replies, framed blocks and command texts.
class CInstrument {
  public:
    static constexpr char kPrompt = '>';
    // The longest command each exchange can carry; a longer one fails without being sent.
    static constexpr size_t kMaxCommandLength = 510;
    static constexpr size_t kMaxCommandOkLength = 99;
    static constexpr size_t kMaxRetransmitLength = 199;

    CInstrument(Clock& clock, UiHost& ui);
    virtual ~CInstrument() = default;

    void SetLink(CSerialLink* link) { link_ = link; }
    CSerialLink* GetLink() const { return link_; }
    void SetRs485Address(uint32_t address) { rs485Address_ = address; }
    uint32_t Rs485Address() const { return rs485Address_; }
    bool IsSdi12Mode() const { return sdi12Mode_; }
    // Sends the RS-485 selection of the address, when there is one, so that an addressed
    // instrument listens to what follows; the wake-up does it by itself.
    void SelectAddress();
    // Selects address 0, which no instrument has: none on the bus takes what follows for itself.
    void SelectNoAddress();

    // Wakes the instrument; with identify, returns its model. A code below 2 is a failure.
    int FindInstrument(bool identify, bool offerSdi12Exit);
    // What the last FindInstrument returned; none before the first.
    std::optional<int> LastFindResult() const { return lastFindResult_; }
    // The first line of the instrument's answer to "Ver" in the last identification, without
    // its line end; empty when there was none.
    const std::string& LastVersionLine() const { return lastVersionLine_; }
    bool SetSdi12Mode(bool on);

    // What talking to the instrument has found out: its SDI-12 mode and the last
    // identification. A job's instrument object starts from the terminal's and hands it back.
    struct Conversation {
        bool sdi12Mode = false;
        std::optional<int> lastFindResult;
        std::string lastVersionLine;
    };
    Conversation GetConversation() const { return {sdi12Mode_, lastFindResult_, lastVersionLine_}; }
    void ContinueConversation(const Conversation& conversation);

    bool SendCommand(const std::string& command, char prompt = kPrompt, bool locateFirst = true);
    // Two CRs, then the prompt within 2.5 s: the instrument's command line found.
    bool LocatePrompt(char prompt = kPrompt);
    bool WaitFor(std::span<char> buffer, const std::string& token, uint32_t timeoutMs,
                 bool stopAtPrompt);
    // Sends a command some other way than SendCommand: as the script engine sends a typed line.
    using CommandSender = std::function<bool(const std::string& command)>;
    // Sends the command (through send when given) and, with expectOk, waits for its "OK".
    bool ExecCommand(const std::string& command, std::span<char> reply, bool expectOk,
                     uint32_t timeoutMs, const CommandSender& send = {});
    bool CommandOk(const std::string& command, uint32_t timeoutMs);
    bool ReadBlock(const std::string& command, std::span<uint8_t> block, uint32_t timeoutMs);
    // Sends each line of text as a command and waits for its "OK"; a line not answered does
    // not stop the rest. The command language runs in the session's engine, not here.
    bool RunText(const std::string& text);
    bool RunFile(const std::string& path);
    bool ProbePrompt(CSerialLink& link);
    bool SendBreak();

  private:
    int Find(bool identify, bool offerSdi12Exit);
    int WakeUp(bool identify);
    int WakeAfterBreak(std::span<char> reply);
    int WakeWithPlusSigns(std::span<char> reply);
    int AwaitCompassPrompt(std::span<char> reply);
    int Identify();
    void ReadBanner(std::span<char> banner);
    int AskSystemType();
    void SendSelection(uint32_t address);
    bool SendCharChecked(char character, uint8_t& echo);
    bool Retransmit(const std::string& command);
    bool WaitForQuietLine();
    bool AwaitBlockStart(uint32_t startTick, uint32_t timeoutMs);
    bool ReadExactly(std::span<uint8_t> bytes, uint32_t timeoutMs, bool echo);
    void ShowFailure(const char* text);
    // The NUL-terminated text in a reply buffer, and whether it holds token.
    static std::string_view ReplyText(std::span<const char> buffer);
    static bool Holds(std::span<const char> buffer, std::string_view token);

    Clock& clock_;
    UiHost& ui_;
    CSerialLink* link_ = nullptr;
    uint32_t rs485Address_ = 0;
    bool sdi12Mode_ = false;
    std::optional<int> lastFindResult_;
    std::string lastVersionLine_;
};

}  // namespace brennix
