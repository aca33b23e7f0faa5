#include "compass/compass_dialog.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "compass/compass_feature.h"
#include "compass/compass_rating.h"
#include "link/detached_output.h"
#include "link/link_lease.h"

namespace brennix {

namespace {

constexpr uint32_t kBreakMs = 300;
constexpr uint32_t kAfterBreakMs = 700;
constexpr uint32_t kBeforeFlushMs = 100;

QLineEdit* ReadOnlyValue() {
    auto* edit = new QLineEdit;
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight);
    // The buttons take the focus first; the values can still be selected and copied.
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

QPushButton* Button(const char* text) {
    auto* button = new QPushButton(text);
    // Enter closes nothing and starts nothing.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

void RunCompassCalibration(const FeatureContext& context) {
    CSerialLink& link = context.session.Link();
    const DetachedOutput detached(link);
    {
        CDlgCompass dialog(context.parent, context.session, context.ui);
        if (dialog.Initialise()) {
            dialog.exec();
        }
    }
    link.Waits().Pause(kBeforeFlushMs);
    link.FlushInput(true);
}

CDlgCompass::CDlgCompass(QWidget* parent, CSession& session, UiHost& ui)
    : QDialog(parent),
      session_(session),
      ui_(ui),
      calibration_(session.Instrument()),
      heading_(ReadOnlyValue()),
      pitch_(ReadOnlyValue()),
      roll_(ReadOnlyValue()),
      text_(new QLabel),
      start_(Button("Start")),
      stop_(Button("Stop")),
      close_(Button("Close")),
      timer_(new QTimer(this)) {
    setWindowTitle("Compass calibration");
    // A fixed pitch lines the scores up as their texts intend.
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setWordWrap(true);
    text_->setMinimumHeight(text_->fontMetrics().height() * 6);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* values = new QFormLayout;
    values->addRow("Heading", heading_);
    values->addRow("Pitch", pitch_);
    values->addRow("Roll", roll_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(values);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);
    resize(560, 340);

    connect(start_, &QPushButton::clicked, this, &CDlgCompass::Start);
    connect(stop_, &QPushButton::clicked, this, &CDlgCompass::Stop);
    connect(close_, &QPushButton::clicked, this, &CDlgCompass::reject);
    connect(timer_, &QTimer::timeout, this, &CDlgCompass::ShowAttitude);
}

bool CDlgCompass::Initialise() {
    bool ready = false;
    {
        const WaitCursor wait(ui_);
        ready = calibration_.Init();
    }
    if (!ready) {
        ui_.ShowMessage(compass_texts::kNotResponding, "", MessageButtons::kOk, MessageIcon::kNone);
        return false;
    }
    text_->setText(compass_texts::kInitialized);
    timer_->start(kTimerMs);
    return true;
}

void CDlgCompass::Start() {
    calibration_.Start();
    text_->setText(compass_texts::kRotate);
}

// The instrument takes its time with the scores; the window stays alive meanwhile, its buttons
// off.
void CDlgCompass::Stop() {
    if (!calibration_.IsCalibrating() || busy_) {
        return;
    }
    SetBusy(true);
    std::optional<CompassScores> scores;
    {
        const WaitCursor wait(ui_);
        const LinkLease pumping(session_.Link(), nullptr, &ui_);
        scores = calibration_.Finish();
    }
    text_->setText(scores ? QString::fromStdString(ScoreReport(*scores))
                          : QString(compass_texts::kScoresUnreadable));
    SetBusy(false);
}

void CDlgCompass::ShowAttitude() {
    if (busy_ || !calibration_.IsCalibrating()) {
        return;
    }
    const std::optional<Attitude> attitude = calibration_.ReadAttitude();
    if (!attitude) {
        return;
    }
    heading_->setText(QString::number(attitude->heading, 'f', 2));
    pitch_->setText(QString::number(attitude->pitch, 'f', 2));
    roll_->setText(QString::number(attitude->roll, 'f', 2));
}

void CDlgCompass::reject() {
    if (busy_) {
        return;
    }
    timer_->stop();
    {
        const WaitCursor wait(ui_);
        session_.Instrument().SendBreak(kBreakMs);
        session_.Link().Waits().Pause(kAfterBreakMs);
    }
    QDialog::reject();
}

void CDlgCompass::SetBusy(bool busy) {
    busy_ = busy;
    for (QPushButton* button : {start_, stop_, close_}) {
        button->setEnabled(!busy);
    }
}

QString CDlgCompass::Text() const {
    return text_->text();
}

QString CDlgCompass::Heading() const {
    return heading_->text();
}

QString CDlgCompass::Pitch() const {
    return pitch_->text();
}

QString CDlgCompass::Roll() const {
    return roll_->text();
}

template <>
void OpenFeatureWindow<CompassFeature>(const FeatureContext& context) {
    RunCompassCalibration(context);
}

}  // namespace brennix
