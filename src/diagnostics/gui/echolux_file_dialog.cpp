#include "diagnostics/gui/echolux_file_dialog.h"

#include <QFileDialog>

#include "desktop_ui/remembered_folder.h"

namespace brennix {

namespace {

constexpr const char* kFilter = "Echolux Files (*.ecx)";
constexpr const char* kSuffix = "ecx";

}  // namespace

QString EcholuxFileDialog::RecordingToOpen(QWidget* parent) {
    return Ask(parent, true, "Open");
}

QString EcholuxFileDialog::RecordingToSave(QWidget* parent) {
    return Ask(parent, false, "Save As");
}

QString EcholuxFileDialog::Ask(QWidget* parent, bool open, const QString& caption) {
    QFileDialog dialog(parent, caption, StartFolder(settings_, settings::kRecordingFolder),
                       kFilter);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(kSuffix);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QString path = dialog.selectedFiles().constFirst();
    RememberFolder(settings_, settings::kRecordingFolder, path);
    return path;
}

}  // namespace brennix
