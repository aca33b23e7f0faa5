#include "diagnostics/echolux_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace brennix {

namespace {

constexpr const char* kFilter = "Echolux Files (*.ecx)";
constexpr const char* kSuffix = "ecx";
constexpr const char* kFolderKey = "Echolux/Folder";

// The folder used last, else the user's documents; a folder that has gone gives way to home.
QString LastFolder() {
    const QString folder =
        QSettings()
            .value(kFolderKey, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .toString();
    return QDir(folder).exists() ? folder : QDir::homePath();
}

QString Remembered(const QString& path) {
    if (!path.isEmpty()) {
        QSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
    }
    return path;
}

QString Ask(QWidget* parent, QFileDialog::AcceptMode mode, const QString& caption) {
    QFileDialog dialog(parent, caption, LastFolder(), kFilter);
    dialog.setAcceptMode(mode);
    dialog.setDefaultSuffix(kSuffix);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return Remembered(dialog.selectedFiles().constFirst());
}

}  // namespace

QString EcholuxFileDialog::RecordingToOpen(QWidget* parent) {
    return Ask(parent, QFileDialog::AcceptOpen, "Open");
}

QString EcholuxFileDialog::RecordingToSave(QWidget* parent) {
    return Ask(parent, QFileDialog::AcceptSave, "Save As");
}

}  // namespace brennix
