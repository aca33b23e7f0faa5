#include "app/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QObject>
#include <QStandardPaths>

namespace brennix {

QString FileDialogs::LogFileToOpen(QWidget* parent) {
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QFileDialog dialog(parent, QObject::tr("Open log file"),
                       folder.filePath(QStringLiteral("ostrelterm.log")),
                       QObject::tr("Log files (*.log)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("log"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString FileDialogs::CommandFileToRun(QWidget* parent) {
    QFileDialog dialog(parent, QObject::tr("Run command file"), QString(),
                       QObject::tr("Command files (*.cmd)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("cmd"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

}  // namespace brennix
