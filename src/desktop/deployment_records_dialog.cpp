#include "desktop/deployment_records_dialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <utility>

#include "records/record_files.h"

namespace brennix {

namespace {

enum Column { kDate, kSerial, kFile, kMode };

// The record files were written as UTF-8; the folder's path is the system's 8-bit path.
QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CDlgDeploymentRecords::CDlgDeploymentRecords(std::string folder, Viewer viewer, QtUiHost& ui,
                                             QWidget* parent)
    : QDialog(parent),
      folder_(std::move(folder)),
      viewer_(std::move(viewer)),
      ui_(ui),
      list_(new QTreeWidget(this)),
      note_(new QLabel(this)),
      open_(new QPushButton(tr("Open"), this)),
      browser_(new QPushButton(tr("Open in browser"), this)) {
    setWindowTitle(tr("Deployment records"));
    list_->setObjectName("records");
    list_->setHeaderLabels({tr("Date"), tr("Serial number"), tr("File"), tr("Mode")});
    list_->setRootIsDecorated(false);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    note_->setObjectName("note");
    note_->setWordWrap(true);
    open_->setObjectName("open");
    browser_->setObjectName("browser");
    auto* close = new QPushButton(tr("Close"), this);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &CDlgDeploymentRecords::UpdateButtons);
    connect(list_, &QTreeWidget::itemActivated, this, &CDlgDeploymentRecords::OpenInViewer);
    connect(open_, &QPushButton::clicked, this, &CDlgDeploymentRecords::OpenInViewer);
    connect(browser_, &QPushButton::clicked, this, &CDlgDeploymentRecords::OpenInBrowser);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open_);
    buttons->addWidget(browser_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(note_);
    layout->addLayout(buttons);
    resize(640, 360);
    Refresh();
}

void CDlgDeploymentRecords::Refresh() {
    const RecordListing listing = ListDeploymentRecords(folder_);
    list_->clear();
    for (const RecordEntry& entry : listing.records) {
        auto* item =
            new QTreeWidgetItem(list_, {FromUtf8(entry.written), FromUtf8(entry.serialNumber),
                                        FromUtf8(entry.fileName), FromUtf8(entry.mode)});
        item->setData(kDate, Qt::UserRole, QFile::decodeName(entry.htmlPath.c_str()));
    }
    const QString folder = QDir::toNativeSeparators(QFile::decodeName(folder_.c_str()));
    if (!listing.error.empty()) {
        note_->setText(
            tr("The records cannot be read: %1").arg(QFile::decodeName(listing.error.c_str())));
    } else if (listing.records.empty()) {
        note_->setText(tr("No deployment records in %1").arg(folder));
    } else {
        note_->setText(folder);
    }
    if (list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
    UpdateButtons();
}

int CDlgDeploymentRecords::Count() const {
    return list_->topLevelItemCount();
}

QString CDlgDeploymentRecords::SelectedSheet() const {
    const QTreeWidgetItem* item = list_->currentItem();
    return item ? item->data(kDate, Qt::UserRole).toString() : QString();
}

void CDlgDeploymentRecords::UpdateButtons() {
    const bool sheet = !SelectedSheet().isEmpty();
    open_->setEnabled(sheet);
    browser_->setEnabled(sheet);
}

void CDlgDeploymentRecords::OpenInViewer() {
    const QString sheet = SelectedSheet();
    if (!sheet.isEmpty()) {
        viewer_(sheet);
    }
}

void CDlgDeploymentRecords::OpenInBrowser() {
    const QString sheet = SelectedSheet();
    if (!sheet.isEmpty() && !QDesktopServices::openUrl(QUrl::fromLocalFile(sheet))) {
        ui_.ShowText(QDir::toNativeSeparators(sheet), "Unable to open file", MessageButtons::kOk,
                     MessageIcon::kExclamation);
    }
}

}  // namespace brennix
