#include "script/gui/cmd_editor_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include "instrument/command_file.h"
#include "platform/qt_text.h"

namespace brennix {

namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

QString RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& filter) {
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(CDlgCmdEditor::kDefaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QPushButton* AddButton(QVBoxLayout& column, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    // Enter belongs to the editor: it starts a new line and never presses a button.
    button->setAutoDefault(false);
    column.addWidget(button);
    return button;
}

}  // namespace

CDlgCmdEditor::CDlgCmdEditor(RunText run, UiHost& ui, QWidget* parent)
    : QDialog(parent), run_(std::move(run)), ui_(ui) {
    setWindowTitle("CMD editor");
    editor_ = new QPlainTextEdit(this);
    editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* buttons = new QVBoxLayout;
    connect(AddButton(*buttons, "Open...", this), &QPushButton::clicked, this,
            &CDlgCmdEditor::Open);
    connect(AddButton(*buttons, "Save...", this), &QPushButton::clicked, this,
            &CDlgCmdEditor::Save);
    connect(AddButton(*buttons, "Run", this), &QPushButton::clicked, this, &CDlgCmdEditor::Run);
    buttons->addSpacing(fontMetrics().height());
    connect(AddButton(*buttons, "Close", this), &QPushButton::clicked, this,
            &CDlgCmdEditor::reject);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(editor_, 1);
    layout->addLayout(buttons);
    resize(kDefaultWidth, kDefaultHeight);
    editor_->setFocus();
}

// Opening replaces the text, so unsaved changes are asked about first, as when closing.
void CDlgCmdEditor::Open() {
    if (!ConfirmDiscard("Are you sure that you want to open another file?")) {
        return;
    }
    const QString path = ChooseFileToOpen();
    if (path.isEmpty()) {
        return;
    }
    WaitCursor wait(ui_);
    Load(path);
}

void CDlgCmdEditor::Save() {
    const QString path = ChooseFileToSave();
    if (path.isEmpty()) {
        return;
    }
    WaitCursor wait(ui_);
    if (!Store(path)) {
        ui_.ShowMessage("Unable to create file !", "", MessageButtons::kOk, MessageIcon::kError);
    }
}

// The editor steps aside while the script runs, so the terminal behind shows its traffic. It is
// hidden as a plain widget: hiding a dialog would end the modal run of its caller.
void CDlgCmdEditor::Run() {
    const std::string text = Latin1Bytes(editor_->toPlainText());
    QWidget::setVisible(false);
    run_(text, [editor = QPointer<CDlgCmdEditor>(this)] {
        if (editor) {
            editor->QWidget::setVisible(true);
            editor->activateWindow();
        }
    });
}

void CDlgCmdEditor::accept() {
    reject();
}

void CDlgCmdEditor::reject() {
    if (ConfirmDiscard("Are you sure that you want to close the editor?")) {
        QDialog::reject();
    }
}

QString CDlgCmdEditor::ChooseFileToOpen() {
    return RunFileDialog(this, QFileDialog::AcceptOpen, kOpenFilter);
}

QString CDlgCmdEditor::ChooseFileToSave() {
    return RunFileDialog(this, QFileDialog::AcceptSave, kSaveFilter);
}

// Text mode: CR LF pairs become line breaks, the bytes are 8-bit text. A file that Run command
// file would refuse (a program, an image) is refused here too, before its bytes could be run;
// the text in the editor stays as it was.
void CDlgCmdEditor::Load(const QString& path) {
    const CommandFile file = ReadCommandFile(QFile::encodeName(path).toStdString());
    if (!file.ok) {
        const std::string native = QFile::encodeName(QDir::toNativeSeparators(path)).toStdString();
        ui_.ShowMessage(QString::fromLocal8Bit(CommandFileRefusal("open", native, file.error))
                            .toLatin1()
                            .toStdString(),
                        "", MessageButtons::kOk, MessageIcon::kError);
        return;
    }
    QByteArray bytes = QByteArray::fromStdString(file.text);
    bytes.replace("\r\n", "\n");
    editor_->setPlainText(QString::fromLatin1(bytes));
    editor_->document()->setModified(false);
}

// Written in text mode, so lines end as the platform expects; the old file survives a failed
// write.
bool CDlgCmdEditor::Store(const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        return false;
    }
    file.write(editor_->toPlainText().toLatin1());
    if (!file.commit()) {
        return false;
    }
    editor_->document()->setModified(false);
    return true;
}

bool CDlgCmdEditor::ConfirmDiscard(const std::string& question) {
    if (!editor_->document()->isModified()) {
        return true;
    }
    return ui_.ShowMessage("Your command file has been modified.\n" + question, "Lose all changes?",
                           MessageButtons::kYesNo, MessageIcon::kQuestion) == MessageResult::kYes;
}

}  // namespace brennix
