#include "desktop/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QObject>
#include <QSettings>
#include <QStandardPaths>

#include "desktop/settings_keys.h"

namespace brennix {

namespace {

QString Chosen(QFileDialog& dialog, const char* folderKey) {
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    const QString path = dialog.selectedFiles().value(0);
    FileDialogs::RememberFolder(folderKey, path);
    return path;
}

}  // namespace

QString FileDialogs::StartFolder(const char* key) {
    const QStringList candidates = {
        QSettings().value(key).toString(),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath()};
    for (const QString& folder : candidates) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            return folder;
        }
    }
    return QDir::currentPath();
}

void FileDialogs::RememberFolder(const char* key, const QString& chosenFile) {
    if (!chosenFile.isEmpty()) {
        QSettings().setValue(key, QFileInfo(chosenFile).absolutePath());
    }
}

QString FileDialogs::LogFileToOpen(QWidget* parent) {
    const QDir folder(StartFolder(settings::kLogFolder));
    QFileDialog dialog(parent, QObject::tr("Open log file"),
                       folder.filePath(QStringLiteral("ostrelterm.log")),
                       QObject::tr("Log files (*.log)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("log"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    return Chosen(dialog, settings::kLogFolder);
}

QString FileDialogs::CommandFileToRun(QWidget* parent) {
    QFileDialog dialog(parent, QObject::tr("Run command file"),
                       StartFolder(settings::kCommandFileFolder),
                       QObject::tr("Command files (*.cmd)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("cmd"));
    return Chosen(dialog, settings::kCommandFileFolder);
}

}  // namespace brennix
