#pragma once

#include <cstdint>
#include <string>

namespace brennix {

enum class MessageButtons { kOk, kOkCancel, kYesNo };
enum class MessageIcon { kNone, kInformation, kQuestion, kExclamation, kError };
enum class MessageResult { kOk, kCancel, kYes, kNo };

// The button Enter presses: the first, as on the handheld's message boxes.
constexpr MessageResult DefaultButton(MessageButtons buttons) {
    return buttons == MessageButtons::kYesNo ? MessageResult::kYes : MessageResult::kOk;
}

// What every layer may ask of a person: a message box, the wait cursor, and keeping the user
// interface alive during a wait. The desktop program answers with windows, the console runner on
// the terminal, tests from a script. The script language asks more (ScriptUiHost).
//
// Threads: a host is called on the thread it belongs to (the window thread in the desktop
// program). A worker never calls its owner's host; it gets one made for it (RelayedUiHost),
// which carries each question to the owner's thread through the job's relay and waits for the
// answer.
class UiHost {
  public:
    virtual ~UiHost() = default;

    // An empty caption means the application's title.
    virtual MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                      MessageButtons buttons, MessageIcon icon) = 0;
    virtual void SetWaitCursor(bool on) = 0;

    // Keeps the user interface alive for ms milliseconds: dispatches pending events until the
    // time has passed on the clock the host was built with.
    virtual void PumpMessages(uint32_t ms) = 0;
};

// Shows the wait cursor for the life of the object.
class WaitCursor {
  public:
    explicit WaitCursor(UiHost& host) : host_(host) { host_.SetWaitCursor(true); }
    ~WaitCursor() { host_.SetWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    UiHost& host_;
};

}  // namespace brennix
