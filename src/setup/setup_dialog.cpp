#include "setup/setup_dialog.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>
#include <tuple>

#include "instrument/instrument_codes.h"
#include "instrument/setup_reader.h"
#include "platform/number_text.h"
#include "setup/advanced_page.h"
#include "setup/deploy_page.h"
#include "setup/info_page.h"
#include "setup/sdi12_deploy_dialog.h"
#include "setup/setup_feature.h"
#include "setup/sheet_busy.h"

namespace brennix {

namespace {

// Wide enough for the four tabs side by side.
constexpr int kMinimumWidth = 380;

template <typename PageWidget>
std::function<bool(const Refusal&)> FocusOn(PageWidget* page) {
    return [page](const Refusal& refusal) { return page->Focus(refusal); };
}

std::string RecorderSpaceText(const std::optional<uint64_t>& freeBytes) {
    if (!freeBytes) {
        return "The recorder's space could not be read.";
    }
    return FormatText("The recorder has %llu bytes free.",
                      static_cast<unsigned long long>(*freeBytes));
}

}  // namespace

void OpenSetup(const FeatureContext& context) {
    CInstrument& instrument = context.session.Instrument();
    SetupRecordRead read;
    {
        const SheetBusy busy(context.ui, instrument.GetLink());
        read = ReadSetupRecord(instrument);
    }
    if (!read.record) {
        context.ui.ShowMessage(read.failure, CSetupDialog::kCaption, MessageButtons::kOk,
                               MessageIcon::kExclamation);
        return;
    }
    SetupRecord record = *read.record;
    SetupSheet sheet(record, instrument, context.ui, context.units, context.readRecorderFreeBytes);
    CSetupDialog dialog(sheet, context.parent);
    dialog.SetRecorderManager(context.openRecorderManager);
    dialog.exec();
}

CSetupDialog::CSetupDialog(SetupSheet& sheet, QWidget* parent) : QDialog(parent), sheet_(sheet) {
    setWindowTitle(kCaption);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("pages");

    deployPage_ = new CDlgMrvDeploy(sheet, this);
    AddPage(deployPage_, "Deploy",
            {deployPage_, [this] { deployPage_->Enter(); }, [this] { return deployPage_->Leave(); },
             FocusOn(deployPage_)});
    auto* advanced = new CDlgMrvAdvanced(sheet, this);
    AddPage(advanced, "Advanced",
            {advanced, [advanced] { advanced->Enter(); }, [advanced] { return advanced->Leave(); },
             FocusOn(advanced)});
    for (const auto& [page, caption, group] :
         {std::tuple{SetupPage::kHardware, "Hardware", "Hardware information"},
          std::tuple{SetupPage::kOptions, "Options", "Options"}}) {
        auto* info = new CInfoPage(sheet, page, group, this);
        AddPage(info, caption,
                {info, [info] { info->Enter(); }, [] { return true; },
                 [](const Refusal&) { return false; }});
    }

    connect(tabs_, &QTabWidget::currentChanged, this, &CSetupDialog::OnTabChanged);
    connect(deployPage_, &CDlgMrvDeploy::deployClicked, this, &CSetupDialog::OnDeploy);
    connect(deployPage_, &CDlgMrvDeploy::recorderClicked, this, &CSetupDialog::OnRecorder);
    connect(deployPage_, &CDlgMrvDeploy::closeClicked, this, &CSetupDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    setMinimumWidth(kMinimumWidth);
    pages_.front().enter();
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
    ShowTab(current_);
    if (!pages_[static_cast<size_t>(current_)].leave()) {
        return;
    }
    ShowTab(index);
    current_ = index;
    pages_[static_cast<size_t>(index)].enter();
}

void CSetupDialog::ShowTab(int index) {
    const QSignalBlocker blocker(tabs_);
    tabs_->setCurrentIndex(index);
}

void CSetupDialog::ActivatePage(SetupPage page) {
    const int index = static_cast<int>(page);
    if (index == current_) {
        return;
    }
    ShowTab(index);
    current_ = index;
    pages_[static_cast<size_t>(index)].enter();
}

void CSetupDialog::FocusControl(const Refusal& refusal) {
    pages_[static_cast<size_t>(current_)].focus(refusal);
}

bool CSetupDialog::RunSdi12Dialog() {
    CDlgSdi12Deploy dialog(sheet_, this);
    // The technician works in the dialog: no wait cursor over it.
    sheet_.Ui().SetWaitCursor(false);
    const bool deployed = dialog.exec() == QDialog::Accepted;
    sheet_.Ui().SetWaitCursor(true);
    return deployed;
}

void CSetupDialog::reject() {
    if (pages_[static_cast<size_t>(current_)].leave()) {
        QDialog::reject();
    }
}

void CSetupDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CSetupDialog::OnDeploy() {
    bool started = false;
    {
        const SheetBusy busy(sheet_.Ui(), sheet_.Instrument().GetLink());
        started = DeployFromSheet(sheet_, *this);
    }
    if (started) {
        QDialog::reject();
    }
}

// The recorder manager over the sheet; afterwards the recorder's space is read again for the
// days. Without a recorder manager the button shows the space figures.
void CSetupDialog::OnRecorder() {
    int code = kFailToWakeUp;
    {
        const SheetBusy busy(sheet_.Ui(), sheet_.Instrument().GetLink());
        code = sheet_.Instrument().FindInstrument(true, true);
    }
    if (!IsInstrument(code)) {
        sheet_.Ui().ShowMessage("Unable to wake up instrument!", "", MessageButtons::kOk,
                                MessageIcon::kNone);
        return;
    }
    if (runRecorderManager_) {
        runRecorderManager_(this);
    }
    {
        const SheetBusy busy(sheet_.Ui(), sheet_.Instrument().GetLink());
        sheet_.ReadRecorderSpace();
    }
    deployPage_->ShowDays();
    if (!runRecorderManager_) {
        sheet_.Ui().ShowMessage(RecorderSpaceText(sheet_.FreeRecorderBytes()), "Recorder",
                                MessageButtons::kOk, MessageIcon::kInformation);
    }
}

template <>
void OpenFeatureWindow<SetupFeature>(const FeatureContext& context) {
    OpenSetup(context);
}

}  // namespace brennix
