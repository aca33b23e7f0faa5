#include "script/gui/script_running_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace brennix {

CDlgScriptRunning::CDlgScriptRunning(std::function<void()> onStop, QWidget* parent)
    : QDialog(parent), onStop_(std::move(onStop)) {
    setWindowTitle("script");
    auto* text = new QLabel("Script running: press stop to interupt it...", this);
    stopButton_ = new QPushButton("Stop", this);
    // Enter must not stop a script by accident: only a deliberate press of Stop does.
    stopButton_->setAutoDefault(false);
    connect(stopButton_, &QPushButton::clicked, this, &CDlgScriptRunning::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(text, 1);
    layout->addWidget(stopButton_);
    setFixedSize(sizeHint());
}

void CDlgScriptRunning::reject() {
    if (onStop_) {
        onStop_();
    }
}

}  // namespace brennix
