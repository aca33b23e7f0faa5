#include "recorder/recorder_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "link/detached_output.h"
#include "link/link_lease.h"
#include "recorder/display_text.h"
#include "recorder/download_rates.h"
#include "recorder/rate_restore.h"
#include "recorder/recorder_feature.h"

namespace brennix {

namespace {

constexpr uint32_t kConfirmStopMs = 10;
constexpr int kColumnWidths[] = {68, 70, 68, 58};
constexpr Qt::Alignment kColumnAlignments[] = {Qt::AlignLeft | Qt::AlignVCenter,
                                               Qt::AlignRight | Qt::AlignVCenter, Qt::AlignCenter,
                                               Qt::AlignCenter};

enum Column { kName, kSize, kDate, kTime };

QString FromLatin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

ReplaceAnswer AskReplace(QWidget* owner, const std::string& path) {
    QMessageBox box(
        QMessageBox::Question, "Confirm file replace",
        QString("File %1 already exists!\nDo you want to replace it?").arg(FromLatin1(path)),
        QMessageBox::NoButton, owner);
    QPushButton* yes = box.addButton("&Yes", QMessageBox::YesRole);
    QPushButton* no = box.addButton("&No", QMessageBox::NoRole);
    QPushButton* yesToAll = box.addButton("Yes to &all", QMessageBox::YesRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    if (box.clickedButton() == yesToAll) {
        return ReplaceAnswer::kYesToAll;
    }
    return box.clickedButton() == yes ? ReplaceAnswer::kYes : ReplaceAnswer::kNo;
}

std::string OperationName(bool download) {
    return download ? "Download" : "Format";
}

}  // namespace

int RunRecorderManager(const FeatureContext& context) {
    CSerialLink& link = context.session.Link();
    const LinkLease lease(link);
    const DetachedOutput detached(link);
    const uint32_t rate = link.GetBaudRate();
    CDlgRecorder dialog(context);
    const int result = dialog.exec();
    const WaitCursor wait(context.ui);
    RestoreRate(dialog.Access(), link, rate);
    return result;
}

CDlgRecorder::CDlgRecorder(const FeatureContext& context)
    : QDialog(context.parent),
      session_(context.session),
      settings_(context.settings),
      ui_(context.session.GetClock(), this),
      relay_(*this, context.session.GetClock()),
      workerUi_(ui_, relay_, context.session.GetClock()),
      access_(context.session.Instrument()),
      downloadJob_(context.session.Instrument(), *this),
      formatJob_(context.session.Instrument(), *this) {
    setWindowTitle("Recorder manager");
    CreateControls();
    FillRates();
    QTimer::singleShot(0, this, &CDlgRecorder::Initialise);
}

CDlgRecorder::~CDlgRecorder() {
    if (rates_->currentIndex() >= 0) {
        settings_.Write(settings::kDownloadRate, rates_->currentData().toInt());
    }
}

QString CDlgRecorder::DownloadFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .filePath("OstrelData");
}

void CDlgRecorder::CreateControls() {
    list_ = new QTreeWidget(this);
    list_->setHeaderLabels({"Name", "Size", "Date", "Time"});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int column = kName; column <= kTime; ++column) {
        list_->setColumnWidth(column, kColumnWidths[column] * logicalDpiX() / 72);
        list_->headerItem()->setTextAlignment(column, kColumnAlignments[column]);
    }
    selectAll_ = new QPushButton("Select &All", this);
    format_ = new QPushButton("&Format", this);
    download_ = new QPushButton("&Download", this);
    rates_ = new QComboBox(this);
    progress_ = new QProgressBar(this);
    status_ = new QLabel("Reading recorder...", this);
    detail_ = new QLabel(this);
    fileCount_ = new QLabel("Files: none", this);
    usedSpace_ = new QLabel(this);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    for (const auto& [widget, name] :
         std::initializer_list<std::pair<QWidget*, const char*>>{{list_, "list"},
                                                                 {selectAll_, "selectAll"},
                                                                 {format_, "format"},
                                                                 {download_, "download"},
                                                                 {rates_, "rate"},
                                                                 {progress_, "progress"},
                                                                 {status_, "status"},
                                                                 {detail_, "detail"},
                                                                 {fileCount_, "fileCount"},
                                                                 {usedSpace_, "usedSpace"}}) {
        widget->setObjectName(name);
    }

    auto* counts = new QHBoxLayout;
    counts->addWidget(fileCount_);
    counts->addStretch();
    counts->addWidget(usedSpace_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(selectAll_);
    buttons->addWidget(format_);
    buttons->addWidget(download_);
    buttons->addStretch();
    buttons->addWidget(new QLabel("Rate", this));
    buttons->addWidget(rates_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(counts);
    layout->addLayout(buttons);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addWidget(detail_);
    layout->addWidget(close);

    connect(selectAll_, &QPushButton::clicked, list_, &QTreeWidget::selectAll);
    connect(download_, &QPushButton::clicked, this, &CDlgRecorder::OnDownload);
    connect(format_, &QPushButton::clicked, this, &CDlgRecorder::OnFormat);
    connect(rates_, &QComboBox::activated, this, &CDlgRecorder::OnRateChosen);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(sizeHint().expandedTo(QSize(460, 420)));
}

void CDlgRecorder::FillRates() {
    for (const uint32_t rate : kDownloadRates) {
        rates_->addItem(QString::number(rate), rate);
    }
    const int saved = settings_.Read(settings::kDownloadRate);
    rates_->setCurrentIndex(rates_->findData(saved));
}

void CDlgRecorder::Initialise() {
    // On the screen first: what follows keeps the window thread for a while.
    repaint();
    const WaitCursor wait(ui_);
    ApplyRate();
    RefreshList();
}

// A rate the instrument refuses leaves the line (and the list) at the one before.
bool CDlgRecorder::ApplyRate() {
    const int index = rates_->currentIndex();
    if (index < 0) {
        return true;
    }
    if (access_.SetBaud(rates_->itemData(index).toUInt())) {
        appliedRate_ = index;
        return true;
    }
    ui_.ShowMessage("Failed to change baud rate\n Please try a different baud rate!", "Error",
                    MessageButtons::kOk, MessageIcon::kError);
    rates_->setCurrentIndex(appliedRate_);
    return false;
}

void CDlgRecorder::RefreshList() {
    list_->clear();
    fileCount_->setText("Files: none");
    usedSpace_->clear();
    status_->setText("Reading directory...");
    detail_->clear();
    entries_.clear();
    uint32_t used = 0;
    uint32_t total = 0;
    if (!access_.ReadDirectory(entries_) || !access_.GetSpace(used, total)) {
        entries_.clear();
        detail_->setText("FAIL");
        return;
    }
    ShowEntries(used, total);
    status_->setText("Ready");
    detail_->clear();
}

void CDlgRecorder::ShowEntries(uint32_t used, uint32_t total) {
    fileCount_->setText(QString("Files: %1").arg(entries_.size()));
    usedSpace_->setText(QString("Used space %1 / %2")
                            .arg(FromLatin1(FormatSize(used)), FromLatin1(FormatSize(total))));
    for (size_t i = 0; i < entries_.size(); ++i) {
        const RecorderFileEntry& entry = entries_[i];
        auto* row = new QTreeWidgetItem(list_);
        row->setText(kName, FromLatin1(entry.name));
        row->setData(kName, Qt::UserRole, static_cast<qulonglong>(i));
        row->setText(kSize, QString::number(entry.size));
        row->setText(kDate,
                     QString::asprintf("%.02d/%.02d/%.04d", entry.month, entry.day, entry.year));
        row->setText(kTime, QString::asprintf("%.02d:%.02d", entry.hour, entry.minute));
        for (int column = kSize; column <= kTime; ++column) {
            row->setTextAlignment(column, kColumnAlignments[column]);
        }
    }
}

void CDlgRecorder::OnRateChosen(int) {
    if (!ConfirmStop()) {
        rates_->setCurrentIndex(appliedRate_);
        return;
    }
    const WaitCursor wait(ui_);
    ApplyRate();
}

void CDlgRecorder::OnDownload() {
    if (JobRunning()) {
        if (AskToCancel()) {
            downloadJob_.RequestStop();
            formatJob_.RequestStop();
        }
        return;
    }
    DownloadRequest request;
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list_->topLevelItem(row);
        if (item->isSelected()) {
            request.entries.push_back(entries_[item->data(kName, Qt::UserRole).toULongLong()]);
        }
    }
    const QString folder = DownloadFolder();
    if (!QDir().mkpath(folder)) {
        ui_.ShowMessage("Unable to create OstrelData folder!", "", MessageButtons::kOk,
                        MessageIcon::kNone);
        return;
    }
    request.folder = folder.toStdString();
    if (!downloadJob_.Start(std::move(request))) {
        StartFailed();
        return;
    }
    download_->setText("Cancel");
}

void CDlgRecorder::OnFormat() {
    if (!ConfirmStop()) {
        return;
    }
    if (ui_.ShowMessage("WARNING: Formatting will erase ALL data on the memory card.\nSelect OK to "
                        "format the memory card or CANCEL to abort.",
                        "Format?", MessageButtons::kOkCancel,
                        MessageIcon::kError) != MessageResult::kOk) {
        return;
    }
    if (!formatJob_.Start()) {
        StartFailed();
        return;
    }
    entries_.clear();
    list_->clear();
    fileCount_->setText("Files: none");
    usedSpace_->clear();
    download_->setText("Cancel");
}

void CDlgRecorder::StartFailed() {
    ui_.ShowMessage("Unable to start thread", "FATAL ERROR", MessageButtons::kOk,
                    MessageIcon::kError);
}

void CDlgRecorder::done(int result) {
    if (ConfirmStop()) {
        QDialog::done(result);
    }
}

bool CDlgRecorder::JobRunning() const {
    return downloadJob_.IsRunning() || formatJob_.IsRunning();
}

bool CDlgRecorder::AskToCancel() {
    const std::string operation = OperationName(downloadJob_.IsRunning());
    return ui_.ShowMessage(operation + " in progress\nAre you sure that you want to cancel it?",
                           "Cancel " + operation + " ?", MessageButtons::kYesNo,
                           MessageIcon::kError) == MessageResult::kYes;
}

// A job that has not ended within the short wait refuses this time; the next attempt, once it
// has ended, goes through.
bool CDlgRecorder::ConfirmStop() {
    if (!JobRunning()) {
        return true;
    }
    if (!AskToCancel()) {
        return false;
    }
    return downloadJob_.StopAndWait(kConfirmStopMs) && formatJob_.StopAndWait(kConfirmStopMs);
}

void CDlgRecorder::ShowStatus(const std::string& text) {
    relay_.Post([this, text] { status_->setText(FromLatin1(text)); });
}

void CDlgRecorder::ShowDetail(const std::string& text) {
    relay_.Post([this, text] { detail_->setText(FromLatin1(text)); });
}

void CDlgRecorder::SetProgressRange(int maximum) {
    relay_.Post([this, maximum] { progress_->setRange(0, maximum); });
}

void CDlgRecorder::SetProgress(int position) {
    relay_.Post([this, position] { progress_->setValue(position); });
}

MessageResult CDlgRecorder::ShowMessage(const std::string& text, const std::string& caption,
                                        MessageButtons buttons, MessageIcon icon) {
    return workerUi_.ShowMessage(text, caption, buttons, icon);
}

ReplaceAnswer CDlgRecorder::ConfirmReplace(const std::string& path) {
    ReplaceAnswer answer = ReplaceAnswer::kNo;
    relay_.Call([&] { answer = AskReplace(this, path); });
    return answer;
}

void CDlgRecorder::OperationEnded() {
    relay_.Post([this] { download_->setText("Download"); });
}

template <>
void OpenFeatureWindow<RecorderFeature>(const FeatureContext& context) {
    RunRecorderManager(context);
}

}  // namespace brennix
