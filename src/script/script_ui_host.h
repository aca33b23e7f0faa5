#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui_host.h"

namespace brennix {

// One row of the script language's input dialog.
enum class InputKind { kInput = 1, kSelect = 2, kCheck = 3 };
struct InputRow {
    InputKind kind = InputKind::kInput;
    // input: label, default; select: label, options...; check: label, current, checked, clear.
    std::vector<std::string> arguments;
};

// What the script language asks of a person besides message boxes: its input dialog and the
// script-running window with its Stop button.
class ScriptUiHost : public UiHost {
  public:
    // Shows the rows as one input dialog; true and one result per row when OK was pressed.
    virtual bool AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) = 0;

    // The script-running window of one non-quiet run. Runs nest: each open is matched by a close,
    // which closes the most recent window. onStop is called when the user presses Stop.
    virtual void OpenScriptWindow(bool visible, std::function<void()> onStop) = 0;
    virtual void CloseScriptWindow() = 0;
};

}  // namespace brennix
