#include "desktop/terminal_status_bar.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace brennix {

TerminalStatusBar::TerminalStatusBar(QWidget* parent)
    : QStatusBar(parent),
      connection_(AddField("connection", 2)),
      address_(AddField("rs485", 1)),
      log_(AddField("log", 3)),
      script_(AddField("script", 1)) {
    setSizeGripEnabled(true);
    ShowConnection(QString(), 0);
    ShowAddress(0);
    ShowLog(QString(), false);
    ShowScript(false, false);
}

QLabel* TerminalStatusBar::AddField(const char* name, int stretch) {
    auto* field = new QLabel(this);
    field->setObjectName(name);
    field->setTextFormat(Qt::PlainText);
    addPermanentWidget(field, stretch);
    return field;
}

void TerminalStatusBar::ShowConnection(const QString& port, uint32_t rate) {
    connection_->setText(port.isEmpty() ? tr("Not connected")
                                        : tr("%1 at %2 baud").arg(port).arg(rate));
}

void TerminalStatusBar::ShowAddress(uint32_t address) {
    address_->setText(address == 0 ? tr("RS-232") : tr("RS-485 address %1").arg(address));
}

// The file's name is shown; its whole path is the field's tool tip.
void TerminalStatusBar::ShowLog(const QString& path, bool failed) {
    if (path.isEmpty()) {
        log_->setText(tr("No log"));
        log_->setToolTip(QString());
        return;
    }
    const QString name = QFileInfo(path).fileName();
    log_->setText(failed ? tr("Log %1: WRITE FAILED").arg(name) : tr("Log %1").arg(name));
    log_->setToolTip(QDir::toNativeSeparators(path));
}

void TerminalStatusBar::ShowScript(bool scriptRunning, bool lineInUse) {
    script_->setText(scriptRunning ? tr("Script running") : lineInUse ? tr("Busy") : tr("Ready"));
}

QString TerminalStatusBar::ConnectionText() const {
    return connection_->text();
}

QString TerminalStatusBar::AddressText() const {
    return address_->text();
}

QString TerminalStatusBar::LogText() const {
    return log_->text();
}

QString TerminalStatusBar::ScriptText() const {
    return script_->text();
}

}  // namespace brennix
