#include "compass/gui/compass_dialog.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <ctime>
#include <utility>

#include "compass/compass_feature.h"
#include "compass/compass_rating.h"
#include "compass/scores_note.h"
#include "link/detached_output.h"

namespace brennix {

namespace {

constexpr const char* kWidestScoreLine =
    "Ambient magnetic field strength (0-100): 100.00 (VERY POOR)";
// The instructions take five lines at that width; one more keeps a wrapped word in view.
constexpr int kTextLines = 6;

QLineEdit* ReadOnlyValue() {
    auto* edit = new QLineEdit;
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight);
    // The buttons take the focus first; the values can still be selected and copied.
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

// A value with its unit after it.
QLayout* WithUnit(QLineEdit* value) {
    auto* row = new QHBoxLayout;
    row->addWidget(value);
    row->addWidget(new QLabel(compass_texts::kAttitudeUnit));
    return row;
}

QPushButton* Button(const char* text) {
    auto* button = new QPushButton(text);
    // Enter closes nothing and starts nothing.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CDlgCompass::CDlgCompass(const FeatureContext& context)
    : QDialog(context.parent),
      ui_(context.ui),
      notes_(context.session.Notes()),
      heading_(ReadOnlyValue()),
      pitch_(ReadOnlyValue()),
      roll_(ReadOnlyValue()),
      text_(new QLabel),
      start_(Button("Start")),
      stop_(Button("Stop")),
      close_(Button("Close")),
      relay_(*this, context.session.GetClock()),
      service_(context.session, relay_, *this) {
    setWindowTitle("Compass calibration");
    // A fixed pitch lines the scores up as their texts intend.
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setWordWrap(true);
    // As wide as the longest score line and as tall as the instructions: the dialog opens at
    // the size its texts need, with no empty space under them.
    text_->setMinimumWidth(text_->fontMetrics().horizontalAdvance(kWidestScoreLine));
    text_->setMinimumHeight(text_->fontMetrics().height() * kTextLines);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* values = new QFormLayout;
    for (const auto& [name, value] :
         {std::pair{"Heading", heading_}, {"Pitch", pitch_}, {"Roll", roll_}}) {
        values->addRow(name, WithUnit(value));
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(values);
    layout->addWidget(text_, 1);
    layout->addLayout(buttons);

    connect(start_, &QPushButton::clicked, this, &CDlgCompass::Start);
    connect(stop_, &QPushButton::clicked, this, &CDlgCompass::Stop);
    connect(close_, &QPushButton::clicked, this, &CDlgCompass::reject);
}

bool CDlgCompass::Open() {
    // Until the compass has answered "compass init", only Close is of use, and the wait cursor
    // says that the instrument is being asked.
    SetBusy(true);
    close_->setEnabled(true);
    awaitingInit_ = true;
    ui_.SetWaitCursor(true);
    if (!service_.Open([this] { Closed(); })) {
        EndInitWait();
        ui_.ShowMessage(SessionJob::kCannotStart, SessionJob::kCannotStartCaption,
                        MessageButtons::kOk, MessageIcon::kError);
        return false;
    }
    return true;
}

void CDlgCompass::OnReady(bool ready) {
    EndInitWait();
    if (!ready) {
        ui_.ShowMessage(compass_texts::kNotResponding, "", MessageButtons::kOk, MessageIcon::kNone);
        reject();
        return;
    }
    text_->setText(QString("%1\n%2").arg(compass_texts::kInitialized, compass_texts::kPressStart));
    SetBusy(false);
}

void CDlgCompass::Start() {
    service_.StartCalibration();
    calibrating_ = true;
    text_->setText(QString("%1\n\n%2").arg(compass_texts::kRotate, compass_texts::kPressStop));
}

// The instrument takes its time with the scores; the window stays alive meanwhile, its buttons
// off until they have come.
void CDlgCompass::Stop() {
    if (!calibrating_ || busy_) {
        return;
    }
    calibrating_ = false;
    SetBusy(true);
    service_.FinishCalibration();
}

void CDlgCompass::OnScores(const std::optional<CompassScores>& scores) {
    text_->setText(scores ? QString::fromStdString(ScoreReport(*scores))
                          : QString(compass_texts::kScoresUnreadable));
    notes_.compass = NoteOfScores(scores, std::time(nullptr));
    SetBusy(false);
}

void CDlgCompass::OnAttitude(const Attitude& attitude) {
    heading_->setText(QString::number(attitude.heading, 'f', 2));
    pitch_->setText(QString::number(attitude.pitch, 'f', 2));
    roll_->setText(QString::number(attitude.roll, 'f', 2));
}

void CDlgCompass::reject() {
    if (!service_.IsOpen()) {
        QDialog::reject();
        return;
    }
    if (closing_) {
        return;
    }
    closing_ = true;
    SetBusy(true);
    ui_.SetWaitCursor(true);
    service_.Close();
}

void CDlgCompass::EndInitWait() {
    if (std::exchange(awaitingInit_, false)) {
        ui_.SetWaitCursor(false);
    }
}

// Also when closed before the compass answered "compass init".
void CDlgCompass::Closed() {
    EndInitWait();
    if (std::exchange(closing_, true)) {
        ui_.SetWaitCursor(false);
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
    RunDetachedWindow<CDlgCompass>(context);
}

}  // namespace brennix
