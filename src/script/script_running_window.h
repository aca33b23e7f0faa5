#pragma once

#include <QDialog>
#include <functional>

namespace brennix {

// Tells the user a script is executing; its Stop button asks the engine to cancel.
class CDlgScriptRunning : public QDialog {
    Q_OBJECT
public:
    CDlgScriptRunning(std::function<void()> onStop, QWidget* parent = nullptr);
};

}  // namespace brennix
