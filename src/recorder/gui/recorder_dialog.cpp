#include "recorder/gui/recorder_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/ostrel_data_folder.h"
#include "platform/qt_text.h"
#include "recorder/download_settings.h"
#include "recorder/recorder_feature.h"
#include "recorder/recorder_texts.h"

namespace brennix {

namespace {

namespace texts = recorder_texts;

constexpr int kColumnWidths[] = {68, 70, 68, 58};
constexpr Qt::Alignment kColumnAlignments[] = {Qt::AlignLeft | Qt::AlignVCenter,
                                               Qt::AlignRight | Qt::AlignVCenter, Qt::AlignCenter,
                                               Qt::AlignCenter};

enum Column { kName, kSize, kDate, kTime };

// The second status line's room: the total time and a few files' fates before it scrolls.
constexpr int kDetailLines = 4;

ReplaceAnswer AskReplace(QWidget* owner, const std::string& path) {
    QMessageBox box(QMessageBox::Question, texts::kReplaceCaption,
                    PathText(texts::ReplaceQuestion(path)), QMessageBox::NoButton, owner);
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

}  // namespace

CDlgRecorder::CDlgRecorder(const FeatureContext& context)
    : QDialog(context.parent),
      settings_(context.settings),
      ui_(context.session.GetClock(), this),
      relay_(*this, context.session.GetClock()),
      service_(context.session, relay_, *this) {
    setWindowTitle("Recorder manager");
    CreateControls();
    FillRates();
    QTimer::singleShot(0, this, &CDlgRecorder::Initialise);
}

CDlgRecorder::~CDlgRecorder() {
    if (rates_->currentIndex() >= 0 && service_.RateLimits().empty()) {
        SaveDownloadRate(settings_, rates_->currentData().toUInt());
    }
    SaveDownloadChecks(settings_, attempts_->value(), verify_->isChecked());
}

QString CDlgRecorder::DownloadFolder() {
    return PathText(OstrelDataFolder());
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
    status_ = new QLabel(texts::kReadingRecorder, this);
    detail_ = new QLabel(this);
    detail_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileCount_ = new QLabel(texts::kNoFiles, this);
    usedSpace_ = new QLabel(this);
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
    LayOut();

    connect(selectAll_, &QPushButton::clicked, list_, &QTreeWidget::selectAll);
    connect(download_, &QPushButton::clicked, this, &CDlgRecorder::OnDownload);
    connect(format_, &QPushButton::clicked, this, &CDlgRecorder::OnFormat);
    connect(rates_, &QComboBox::activated, this, &CDlgRecorder::OnRateChosen);
}

void CDlgRecorder::LayOut() {
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
    layout->addLayout(CreateChecks());
    layout->addWidget(progress_);
    layout->addWidget(CreateStatusArea());
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(close);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(sizeHint().expandedTo(QSize(460, 420)));
}

// The status lines keep their room whatever they say: a text that grows wraps, and beyond the
// room scrolls, so the buttons above never move under the pointer.
QWidget* CDlgRecorder::CreateStatusArea() {
    for (QLabel* label : {status_, detail_}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    const int line = fontMetrics().lineSpacing();
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    status_->setFixedHeight(2 * line);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(detail_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    scroll->setFixedHeight(kDetailLines * line);
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(status_);
    layout->addWidget(scroll);
    return area;
}

// For a known-noisy line: more attempts at each block, and each file fetched twice and compared.
QLayout* CDlgRecorder::CreateChecks() {
    attempts_ = new QSpinBox(this);
    attempts_->setObjectName("attempts");
    attempts_->setRange(1, CRecorderAccess::kMaxBlockAttempts);
    attempts_->setValue(SavedBlockAttempts(settings_));
    attempts_->setToolTip("How often a damaged block is asked for again");
    verify_ = new QCheckBox("&Verify (download twice and compare)", this);
    verify_->setObjectName("verify");
    verify_->setChecked(SavedVerify(settings_));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Attempts per block", this));
    row->addWidget(attempts_);
    row->addStretch();
    row->addWidget(verify_);
    return row;
}

// A port that cannot change rates offers the line's own, and says why.
void CDlgRecorder::FillRates() {
    if (const std::string limits = service_.RateLimits(); !limits.empty()) {
        rates_->addItem(QString::number(service_.LineRate()), service_.LineRate());
        rates_->setToolTip(QString::fromStdString(limits));
        return;
    }
    for (const uint32_t rate : kDownloadRates) {
        rates_->addItem(QString::number(rate), rate);
    }
    const std::optional<uint32_t> saved = SavedDownloadRate(settings_);
    rates_->setCurrentIndex(saved ? rates_->findData(*saved) : -1);
}

void CDlgRecorder::Initialise() {
    ClearList();
    status_->setText(texts::kReadingDirectory);
    detail_->clear();
    const int index = rates_->currentIndex();
    const bool keepLineRate = index < 0 || !service_.RateLimits().empty();
    Started(service_.Open(
        keepLineRate ? std::nullopt : std::optional<uint32_t>(rates_->itemData(index).toUInt())));
}

void CDlgRecorder::ClearList() {
    entries_.clear();
    list_->clear();
    fileCount_->setText(texts::kNoFiles);
    usedSpace_->clear();
}

// A rate the instrument refuses leaves the line (and the list) at the one before.
void CDlgRecorder::OnRateSet(uint32_t rate, bool switched) {
    if (switched) {
        appliedRate_ = rates_->findData(rate);
    } else {
        ui_.ShowMessage(texts::kRateRefused, texts::kErrorCaption, MessageButtons::kOk,
                        MessageIcon::kError);
        rates_->setCurrentIndex(appliedRate_);
    }
    UpdateControls();
}

void CDlgRecorder::OnListed(const std::optional<RecorderListing>& listing) {
    UpdateControls();
    if (!listing) {
        detail_->setText(texts::kListingFailed);
        return;
    }
    entries_ = listing->entries;
    fileCount_->setText(Latin1Text(texts::FileCount(entries_.size())));
    usedSpace_->setText(Latin1Text(texts::UsedSpace(*listing)));
    for (size_t i = 0; i < entries_.size(); ++i) {
        const RecorderFileEntry& entry = entries_[i];
        auto* row = new QTreeWidgetItem(list_);
        row->setText(kName, Latin1Text(entry.name));
        row->setData(kName, Qt::UserRole, static_cast<qulonglong>(i));
        row->setText(kSize, QString::number(entry.size));
        row->setText(kDate, Latin1Text(texts::EntryDate(entry)));
        row->setText(kTime, Latin1Text(texts::EntryTime(entry)));
        for (int column = kSize; column <= kTime; ++column) {
            row->setTextAlignment(column, kColumnAlignments[column]);
        }
    }
    status_->setText(texts::kReady);
    detail_->clear();
}

void CDlgRecorder::OnRateChosen(int) {
    if (!ConfirmStop()) {
        rates_->setCurrentIndex(appliedRate_);
        return;
    }
    Started(service_.SetRate(rates_->currentData().toUInt()));
}

void CDlgRecorder::OnDownload() {
    if (Transferring()) {
        if (AskToCancel()) {
            service_.Stop();
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
    request.folder = OstrelDataFolder();
    if (!QDir().mkpath(PathText(request.folder))) {
        ui_.ShowMessage(texts::kFolderNotCreated, "", MessageButtons::kOk, MessageIcon::kNone);
        return;
    }
    request.blockAttempts = attempts_->value();
    request.verify = verify_->isChecked();
    Started(service_.Download(std::move(request)));
}

void CDlgRecorder::OnFormat() {
    if (!ConfirmStop() ||
        ui_.ShowMessage(texts::kFormatWarning, texts::kFormatCaption, MessageButtons::kOkCancel,
                        MessageIcon::kError) != MessageResult::kOk) {
        return;
    }
    const bool started = service_.Format();
    if (started) {
        ClearList();
    }
    Started(started);
}

void CDlgRecorder::OnProgress(const RecorderProgress& progress) {
    progress_->setRange(0, progress.range);
    progress_->setValue(progress.position);
    if (!progress.subject.empty()) {
        status_->setText(Latin1Text(progress.subject));
    }
    detail_->setText(Latin1Text(progress.detail));
}

void CDlgRecorder::OnDownloaded(const DownloadResult& result) {
    UpdateControls();
    if (result.elapsedMs) {
        status_->setText(Latin1Text(texts::DownloadEnd(result)));
        // The folder is the file system's, the rest plain ASCII.
        detail_->setText(PathText(texts::DownloadEndDetail(result)));
    }
}

void CDlgRecorder::OnFormatted(FormatOutcome outcome) {
    UpdateControls();
    status_->setText(Latin1Text(texts::FormatEnd(outcome)));
    detail_->setText(Latin1Text(texts::FormatEndDetail(outcome)));
    if (outcome == FormatOutcome::kDone) {
        progress_->setValue(progress_->maximum());
    }
}

MessageResult CDlgRecorder::ShowMessage(const std::string& text, const std::string& caption,
                                        MessageButtons buttons, MessageIcon icon) {
    return ui_.ShowMessage(text, caption, buttons, icon);
}

ReplaceAnswer CDlgRecorder::ConfirmReplace(const std::string& path) {
    return AskReplace(this, path);
}

void CDlgRecorder::Started(bool started) {
    if (!started) {
        ui_.ShowMessage(SessionJob::kCannotStart, SessionJob::kCannotStartCaption,
                        MessageButtons::kOk, MessageIcon::kError);
    }
    UpdateControls();
}

// While the listing or a rate change runs, or the dialog waits for an end, nothing else starts;
// a download or a format can be cancelled (Download reads Cancel) or asked to make way.
void CDlgRecorder::UpdateControls() {
    const bool transferring = Transferring();
    const bool waiting = stopping_ || closing_ || (service_.IsBusy() && !transferring);
    download_->setText(transferring ? "Cancel" : "&Download");
    for (QWidget* control :
         std::initializer_list<QWidget*>{download_, format_, rates_, attempts_, verify_}) {
        control->setEnabled(!waiting);
    }
    rates_->setEnabled(!waiting && service_.RateLimits().empty());
    if (waiting) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

bool CDlgRecorder::Transferring() const {
    return service_.Running() == RecorderOperation::kDownload ||
           service_.Running() == RecorderOperation::kFormat;
}

bool CDlgRecorder::AskToCancel() {
    const RecorderOperation running = service_.Running();
    return ui_.ShowMessage(texts::CancelQuestion(running), texts::CancelCaption(running),
                           MessageButtons::kYesNo, MessageIcon::kError) == MessageResult::kYes;
}

// The job ends within a poll of the line, then lets the line settle; the window stays alive
// meanwhile.
bool CDlgRecorder::ConfirmStop() {
    if (!Transferring()) {
        return true;
    }
    if (!AskToCancel()) {
        return false;
    }
    service_.Stop();
    stopping_ = true;
    UpdateControls();
    ui_.PumpUntil([this] { return !service_.IsBusy(); });
    stopping_ = false;
    UpdateControls();
    return true;
}

void CDlgRecorder::done(int result) {
    if (closing_ || (Transferring() && !AskToCancel())) {
        return;
    }
    closing_ = true;
    UpdateControls();
    if (!service_.Close([this, result] { Closed(result); })) {
        Started(false);
        Closed(result);
    }
}

void CDlgRecorder::Closed(int result) {
    closing_ = false;
    QDialog::done(result);
}

template <>
void OpenFeatureWindow<RecorderFeature>(const FeatureContext& context) {
    CDlgRecorder dialog(context);
    dialog.exec();
}

}  // namespace brennix
