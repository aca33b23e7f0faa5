#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brennix {

enum class MessageButtons { kOk, kOkCancel, kYesNo };
enum class MessageIcon { kNone, kInformation, kQuestion, kExclamation, kError };
enum class MessageResult { kOk, kCancel, kYes, kNo };

// One row of the script language's input dialog.
enum class InputKind { kInput = 1, kSelect = 2, kCheck = 3 };
struct InputRow {
    InputKind kind = InputKind::kInput;
    // input: label, default; select: label, options...; check: label, current, checked, clear.
    std::vector<std::string> arguments;
};

enum class ReplaceAnswer { kYes, kNo, kYesToAll };

// Everything the core asks of a person, and the message pump. The desktop program answers with
// windows, the console runner on the terminal, tests from a script.
//
// Threads: a host is called on the thread it belongs to (the window thread in the desktop
// program). A worker thread never calls the window's host; it gets a host made for it (the
// desktop's WorkerUiHost, which carries each question to the window thread and waits for the
// answer), and reports status and progress through its job's own listener.
class UiHost {
  public:
    virtual ~UiHost() = default;

    // An empty caption means the application's title.
    virtual MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                      MessageButtons buttons, MessageIcon icon) = 0;

    // Shows the rows as one input dialog; true and one result per row when OK was pressed.
    virtual bool AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) = 0;

    // The script-running window of one non-quiet run. Runs nest: each open is matched by a close,
    // which closes the most recent window. onStop is called when the user presses Stop.
    virtual void OpenScriptWindow(bool visible, std::function<void()> onStop) = 0;
    virtual void CloseScriptWindow() = 0;

    virtual ReplaceAnswer ConfirmFileReplace(const std::string& path) = 0;
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
