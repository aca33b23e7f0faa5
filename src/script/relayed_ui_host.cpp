#include "script/relayed_ui_host.h"

namespace brennix {

MessageResult RelayedUiHost::ShowMessage(const std::string& text, const std::string& caption,
                                         MessageButtons buttons, MessageIcon icon) {
    MessageResult result = MessageResult::kCancel;
    relay_.Call([&] { result = owner_.ShowMessage(text, caption, buttons, icon); });
    return result;
}

bool RelayedUiHost::AskInput(const std::vector<InputRow>& rows, std::vector<std::string>& results) {
    bool answered = false;
    relay_.Call([&] { answered = owner_.AskInput(rows, results); });
    return answered;
}

}  // namespace brennix
