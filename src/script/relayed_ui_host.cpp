#include "script/relayed_ui_host.h"

#include <utility>

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

void RelayedUiHost::OpenScriptWindow(bool visible, std::function<void()> onStop) {
    relay_.Call([&] { owner_.OpenScriptWindow(visible, std::move(onStop)); });
}

void RelayedUiHost::CloseScriptWindow() {
    relay_.Call([this] { owner_.CloseScriptWindow(); });
}

}  // namespace brennix
