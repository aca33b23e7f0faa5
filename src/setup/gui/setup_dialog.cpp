#include "setup/gui/setup_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QVBoxLayout>
#include <ctime>
#include <tuple>
#include <utility>

#include "link/detached_output.h"
#include "platform/ostrel_data_folder.h"
#include "platform/qt_text.h"
#include "records/record_files.h"
#include "setup/gui/deploy_page.h"
#include "setup/gui/info_page.h"
#include "setup/gui/sdi12_deploy_dialog.h"
#include "setup/setup_feature.h"
#include "setup/setup_texts.h"

namespace brennix {

namespace {

// Wide enough for the four tabs side by side.
constexpr int kMinimumWidth = 380;
constexpr int kStatusLines = 3;

template <typename PageWidget>
std::function<bool(const Refusal&)> FocusOn(PageWidget* page) {
    return [page](const Refusal& refusal) { return page->Focus(refusal); };
}

}  // namespace

CSetupDialog::CSetupDialog(const FeatureContext& context)
    : QDialog(context.parent),
      ui_(context.ui),
      session_(context.session),
      units_(context.units),
      runRecorderManager_(context.openRecorderManager),
      relay_(*this, context.session.GetClock()),
      service_(context.session, relay_, *this, context.units) {
    setWindowTitle(kCaption);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("pages");
    const auto sheet = [this]() -> SetupSheet& { return service_.Sheet(); };

    deployPage_ = new CDlgMrvDeploy(sheet, units_, this);
    AddPage(deployPage_, "Deploy",
            {deployPage_, [this] { deployPage_->Show(); }, FocusOn(deployPage_)});
    auto* advanced = new CDlgMrvAdvanced(sheet, units_, this);
    AddPage(advanced, "Advanced",
            {advanced, [advanced] { advanced->ShowValues(); }, FocusOn(advanced)});
    for (const auto& [page, caption, group] :
         {std::tuple{SetupPage::kHardware, "Hardware", "Hardware information"},
          std::tuple{SetupPage::kOptions, "Options", "Options"}}) {
        auto* info = new CInfoPage(sheet, page, group, this);
        AddPage(info, caption,
                {info, [info] { info->Show(); }, [](const Refusal&) { return false; }});
    }

    connect(tabs_, &QTabWidget::currentChanged, this, &CSetupDialog::OnTabChanged);
    connect(deployPage_, &CDlgMrvDeploy::deployClicked, this, &CSetupDialog::OnDeploy);
    connect(deployPage_, &CDlgMrvDeploy::recorderClicked, this, &CSetupDialog::OnRecorder);
    connect(deployPage_, &CDlgMrvDeploy::closeClicked, this, &CSetupDialog::reject);

    status_ = new QLabel(this);
    status_->setObjectName("status");
    status_->setWordWrap(true);
    // Room for the longest reason, so the sheet keeps its size as the pointer moves.
    status_->setMinimumHeight(status_->fontMetrics().lineSpacing() * kStatusLines);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(status_);
    setMinimumWidth(kMinimumWidth);
}

bool CSetupDialog::Open() {
    StartJob(service_.Read());
    return busy_;
}

void CSetupDialog::AddPage(QWidget* widget, const QString& caption, Page page) {
    tabs_->addTab(widget, caption);
    pages_.push_back(std::move(page));
}

// The tab bar has already switched when this runs: it is put back while the page being left
// checks and saves, and moves on only when that page lets it.
void CSetupDialog::OnTabChanged(int index) {
    if (index == current_ || index < 0) {
        return;
    }
    ShowPage(current_);
    if (busy_) {
        return;
    }
    target_ = index;
    StartJob(service_.Turn(ActivePage(), {static_cast<SetupPage>(index)}));
}

void CSetupDialog::ShowPage(int index) {
    const QSignalBlocker blocker(tabs_);
    tabs_->setCurrentIndex(index);
}

void CSetupDialog::StartJob(bool started) {
    if (started) {
        SetBusy(true);
        return;
    }
    closing_ = false;
    ui_.ShowMessage(SessionJob::kCannotStart, SessionJob::kCannotStartCaption, MessageButtons::kOk,
                    MessageIcon::kError);
}

void CSetupDialog::SetBusy(bool busy) {
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    tabs_->setEnabled(!busy);
    ui_.SetWaitCursor(busy);
}

void CSetupDialog::OnPageShown(SetupPage page) {
    current_ = static_cast<int>(page);
    ShowPage(current_);
    pages_[static_cast<size_t>(current_)].show();
}

bool CSetupDialog::RunSdi12Dialog(const std::optional<Refusal>& refused) {
    if (refused) {
        ShowRefusal(ui_, *refused);
    }
    CDlgSdi12Deploy dialog(service_.Sheet(), units_, this);
    if (refused) {
        dialog.FocusOn(*refused);
    }
    // The technician works in the dialog: no wait cursor over it.
    ui_.SetWaitCursor(false);
    const bool deployed = dialog.exec() == QDialog::Accepted;
    ui_.SetWaitCursor(true);
    return deployed;
}

void CSetupDialog::OnEnded(const SetupResult& result) {
    SetBusy(false);
    if (result.job == SetupJob::kWake || result.job == SetupJob::kRecorderSpace) {
        RecorderEnded(result);
        return;
    }
    const bool done = result.outcome == SetupOutcome::kDone;
    const bool failedToOpen = result.job == SetupJob::kRead && !done;
    const bool deployed = result.job == SetupJob::kDeploy && done;
    const bool recorded = !deployed || KeepRecord(result);
    ShowOutcome(ui_, result);
    if (!recorded) {
        ui_.ShowText(PathText(recordReport_.at(0) + "\n" + recordReport_.at(1)),
                     "Deployment record", MessageButtons::kOk, MessageIcon::kExclamation);
    }
    if (result.job == SetupJob::kDeploy && !done && result.outcome != SetupOutcome::kStopped) {
        deployPage_->ShowRecordNote(kNoRecordText);
    }
    if (failedToOpen || deployed || (closing_ && result.outcome != SetupOutcome::kRefused)) {
        QDialog::reject();
        return;
    }
    closing_ = false;
    Ended(result);
}

bool CSetupDialog::KeepRecord(const SetupResult& result) {
    KeptRecord kept = KeepRecordOfDeployment(
        {std::time(nullptr), result, service_.Sheet(), units_, session_}, OstrelDataFolder());
    recordReport_ = std::move(kept.report);
    return kept.written;
}

void CSetupDialog::Ended(const SetupResult& result) {
    if (result.outcome == SetupOutcome::kRefused) {
        ShowPage(current_);
        pages_[static_cast<size_t>(current_)].focus(*result.refusal);
        return;
    }
    if (result.job == SetupJob::kTurn || result.job == SetupJob::kRead) {
        current_ = result.job == SetupJob::kTurn ? target_ : 0;
        ShowPage(current_);
        pages_[static_cast<size_t>(current_)].show();
    }
}

void CSetupDialog::reject() {
    if (closing_ || busy_) {
        closing_ = true;
        service_.Stop();
        return;
    }
    closing_ = true;
    StartJob(service_.Turn(ActivePage(), {}));
}

// The pages' controls send their status tips up to the sheet, which has no status bar of a
// main window to show them.
bool CSetupDialog::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        status_->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

QString CSetupDialog::StatusText() const {
    return status_->text();
}

void CSetupDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CSetupDialog::OnDeploy() {
    if (!busy_) {
        StartJob(service_.Deploy());
    }
}

void CSetupDialog::OnRecorder() {
    if (!busy_) {
        StartJob(service_.WakeInstrument());
    }
}

// The recorder manager runs over the sheet between the wake-up and the new reading of the space;
// without one the button shows the space figures.
void CSetupDialog::RecorderEnded(const SetupResult& result) {
    if (closing_) {
        QDialog::reject();
        return;
    }
    if (result.job == SetupJob::kWake) {
        if (result.outcome != SetupOutcome::kDone) {
            ShowOutcome(ui_, result);
            return;
        }
        if (runRecorderManager_) {
            runRecorderManager_(this);
        }
        StartJob(service_.ReadRecorderSpace());
        return;
    }
    deployPage_->ShowDays();
    if (!runRecorderManager_) {
        ui_.ShowMessage(RecorderSpaceText(service_.Sheet().FreeRecorderBytes()), "Recorder",
                        MessageButtons::kOk, MessageIcon::kInformation);
    }
}

template <>
void OpenFeatureWindow<SetupFeature>(const FeatureContext& context) {
    std::vector<std::string> report;
    {
        // The sheet's exchanges run on a worker: they reach the log, not the terminal's pane.
        const DetachedOutput detached(context.session.Link());
        CSetupDialog dialog(context);
        if (dialog.Open()) {
            dialog.exec();
        }
        report = dialog.RecordLines();
    }
    // After the message that tells the technician to disconnect, the terminal says where the
    // record is.
    for (const std::string& line : report) {
        context.session.Link().Tap().Print("\r\n" + line);
    }
    if (!report.empty()) {
        context.session.Link().Tap().Print("\r\n");
    }
}

}  // namespace brennix
