#include "desktop/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QObject>

#include "desktop_ui/remembered_folder.h"

namespace brennix {

namespace {

QString Chosen(QFileDialog& dialog, Settings& settings, const TextSetting& folder) {
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    const QString path = dialog.selectedFiles().value(0);
    RememberFolder(settings, folder, path);
    return path;
}

}  // namespace

QString FileDialogs::LogFileToOpen(QWidget* parent) {
    const QDir folder(StartFolder(settings_, settings::kLogFolder));
    QFileDialog dialog(parent, QObject::tr("Open log file"),
                       folder.filePath(QStringLiteral("ostrelterm.log")),
                       QObject::tr("Log files (*.log)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("log"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return Chosen(dialog, settings_, settings::kLogFolder);
}

QString FileDialogs::CommandFileToRun(QWidget* parent) {
    QFileDialog dialog(parent, QObject::tr("Run command file"),
                       StartFolder(settings_, settings::kCommandFileFolder),
                       QObject::tr("Command files (*.cmd)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("cmd"));
    return Chosen(dialog, settings_, settings::kCommandFileFolder);
}

}  // namespace brennix
