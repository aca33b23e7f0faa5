#include "diagnostics/gui/echolux_dialog.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "diagnostics/beam_note.h"
#include "diagnostics/diagnostics_feature.h"
#include "diagnostics/diagnostics_texts.h"
#include "diagnostics/gui/plot_axis_widget.h"
#include "diagnostics/gui/plot_widget.h"
#include "link/detached_output.h"
#include "platform/qt_text.h"
#include "plot/plot_scale.h"

namespace brennix {

namespace {

namespace texts = diagnostics_texts;

constexpr std::array<QColor, kBeamCount> kBeamColours = {QColor(255, 0, 0), QColor(30, 144, 255),
                                                         QColor(0, 255, 0)};
constexpr std::array<const char*, 3> kViewNames = {"Amp", "Sine", "Cosine"};
// The value axis of each view, in the counts the instrument sends them in.
constexpr std::array<const char*, 3> kValueCaptions = {"Amplitude (counts)", "Sine (counts)",
                                                       "Cosine (counts)"};
constexpr float kAmplitudeTop = 250.0f;
constexpr float kComponentTop = 200.0f;
constexpr float kVerticalStep = 50.0f;

QString MinMax(int32_t minimum, int32_t maximum) {
    return QString("%1/%2").arg(minimum).arg(maximum);
}

QLabel* BeamLabel(size_t beam) {
    auto* label = new QLabel(QString("Beam %1").arg(beam + 1));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kBeamColours[beam]);
    label->setPalette(palette);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

// A figure of the table, wide enough for the widest text its column shows.
QLabel* Figure(const char* widest) {
    auto* label = new QLabel;
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest));
    return label;
}

}  // namespace

CDlgEcholux::CDlgEcholux(const FeatureContext& context)
    : QDialog(context.parent),
      ui_(context.ui),
      notes_(context.session.Notes()),
      model_(context.model),
      fileDialog_(std::make_unique<EcholuxFileDialog>(context.settings)),
      relay_(*this, context.session.GetClock()),
      service_(context.session, relay_, *this) {
    setWindowTitle("Echolux");
    BuildWindow();
    ClearDisplay();
}

CDlgEcholux::~CDlgEcholux() {
    if (service_.IsOpen()) {
        service_.Close();
        ui_.PumpUntil([this] { return !service_.IsOpen(); });
    }
    SetBusy(false);
}

bool CDlgEcholux::Open() {
    // Until the instrument is set up, the wait cursor says so.
    SetBusy(true);
    if (!service_.Open({.model = model_}, [this] { Closed(); })) {
        SetBusy(false);
        ui_.ShowMessage(SessionJob::kCannotStart, SessionJob::kCannotStartCaption,
                        MessageButtons::kOk, MessageIcon::kError);
        return false;
    }
    return true;
}

void CDlgEcholux::reject() {
    if (!service_.IsOpen()) {
        service_.CloseFile();
        QDialog::reject();
        return;
    }
    if (closing_) {
        return;
    }
    closing_ = true;
    SetBusy(true);
    service_.Close();
}

void CDlgEcholux::Closed() {
    SetBusy(false);
    if (closing_) {
        service_.CloseFile();
        QDialog::reject();
    }
}

void CDlgEcholux::SetBusy(bool busy) {
    if (busy != busy_) {
        busy_ = busy;
        ui_.SetWaitCursor(busy);
    }
}

void CDlgEcholux::BuildWindow() {
    optionsButton_ = new QPushButton(">>");
    viewButton_ = new QPushButton;
    pingLabel_ = new QLabel;
    progress_ = new QProgressBar;
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    status_ = new QLabel;
    for (QPushButton* button : {optionsButton_, viewButton_}) {
        button->setAutoDefault(false);
    }
    connect(optionsButton_, &QPushButton::clicked, this, &CDlgEcholux::ShowOptionsMenu);
    connect(viewButton_, &QPushButton::clicked, this,
            [this] { SetView(static_cast<View>((static_cast<int>(view_) + 1) % 3)); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(optionsButton_);
    buttons->addWidget(viewButton_);
    auto* panel = new QWidget;
    auto* side = new QVBoxLayout(panel);
    side->setContentsMargins(0, 0, 0, 0);
    side->addLayout(buttons);
    side->addWidget(pingLabel_);
    side->addWidget(BuildTable());
    side->addStretch();
    // As wide as the widest view (Amp, with its three columns) needs, in every view.
    panel->setFixedWidth(panel->sizeHint().width());

    auto* top = new QHBoxLayout;
    top->addWidget(panel);
    top->addWidget(BuildPlots(), 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_, 1);
    bottom->addWidget(status_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    resize(800, 480);
}

QWidget* CDlgEcholux::BuildTable() {
    auto* table = new QWidget;
    auto* grid = new QGridLayout(table);
    grid->setContentsMargins(0, 0, 0, 0);
    firstHeader_ = new QLabel("Sin Min/Max");
    positionHeader_ = new QLabel(kPeakPositionCaption);
    positionHeader_->setToolTip("Where the peak lies, in travel-time counts: 24 + 5 per cell");
    levelHeader_ = new QLabel("Level");
    for (QLabel* header : {firstHeader_, positionHeader_, levelHeader_}) {
        header->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    grid->addWidget(firstHeader_, 0, 1);
    grid->addWidget(positionHeader_, 0, 2);
    grid->addWidget(levelHeader_, 0, 3);
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        const int row = static_cast<int>(beam) + 1;
        // An empty near half shows its start values, "32768/-32768".
        rows_[beam] = {Figure("32768/-32768"), Figure("9999"), Figure("9999")};
        grid->addWidget(BeamLabel(beam), row, 0);
        grid->addWidget(rows_[beam].first, row, 1);
        grid->addWidget(rows_[beam].position, row, 2);
        grid->addWidget(rows_[beam].level, row, 3);
    }
    return table;
}

// The three plots share one place, the axes sit beside and under it at its length.
QWidget* CDlgEcholux::BuildPlots() {
    auto* area = new QWidget;
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    plotStack_ = new QStackedLayout;
    for (size_t view = 0; view < plots_.size(); ++view) {
        plots_[view] = new CPlotWnd(Qt::black, QColor(96, 96, 96), false, static_cast<int>(view));
        plotStack_->addWidget(plots_[view]);
    }
    verticalAxis_ = new CPlotAxisY;
    horizontalAxis_ = new CPlotAxisX;
    grid->addWidget(verticalAxis_, 0, 0);
    grid->addLayout(plotStack_, 0, 1);
    grid->addWidget(horizontalAxis_, 1, 1);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return area;
}

// Zero figures and arrays over all 512 cells, on the axis the set-up chose.
void CDlgEcholux::ClearDisplay() {
    auto cleared = std::make_shared<EcholuxSnapshot>();
    cleared->ping = shown_ ? shown_->ping : 0;
    cleared->horizontalSpan = setup_.horizontalSpan;
    cleared->travelTime = setup_.rules.travelTime;
    ShowSnapshot(std::move(cleared));
}

void CDlgEcholux::ShowSnapshot(std::shared_ptr<const EcholuxSnapshot> snapshot) {
    shown_ = std::move(snapshot);
    Refresh();
}

void CDlgEcholux::SetView(View view) {
    view_ = view;
    Refresh();
}

void CDlgEcholux::Refresh() {
    const BeamFigures& figures = shown_->figures;
    const bool amp = view_ == View::kAmp;
    // The number of the frame shown, as brennix-cli prints it.
    pingLabel_->setText(QString("Ping : %1").arg(shown_->ping));
    viewButton_->setText(kViewNames[static_cast<size_t>(view_)]);
    firstHeader_->setText(amp ? "Noise" : view_ == View::kSine ? "Sin Min/Max" : "Cos Min/Max");
    positionHeader_->setVisible(amp);
    levelHeader_->setVisible(amp);
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        BeamRow& row = rows_[beam];
        if (amp) {
            row.first->setText(QString::number(figures.noise[beam]));
        } else if (view_ == View::kSine) {
            row.first->setText(MinMax(figures.sinMin[beam], figures.sinMax[beam]));
        } else {
            row.first->setText(MinMax(figures.cosMin[beam], figures.cosMax[beam]));
        }
        row.position->setText(QString::number(figures.peakPosition[beam]));
        row.level->setText(QString::number(figures.peakLevel[beam]));
        row.position->setVisible(amp);
        row.level->setVisible(amp);
    }
    plotStack_->setCurrentWidget(plots_[static_cast<size_t>(view_)]);
    ReloadVisiblePlot();
}

// The visible plot and both axes, all from the snapshot.
void CDlgEcholux::ReloadVisiblePlot() {
    const EcholuxSnapshot& shown = *shown_;
    const PerBeamCells<float>& values = view_ == View::kAmp    ? shown.amplitude
                                        : view_ == View::kSine ? shown.sine
                                                               : shown.cosine;
    const auto cells = static_cast<std::ptrdiff_t>(shown.cells);
    std::vector<PlotSeries> series;
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        series.push_back({std::vector<float>(values[beam].begin(), values[beam].begin() + cells),
                          {},
                          kBeamColours[beam],
                          0});
    }
    const float span = shown.horizontalSpan;
    const float step = TickStepForSpan(span);
    const float top = view_ == View::kAmp ? kAmplitudeTop : kComponentTop;
    CPlotWnd& plot = *plots_[static_cast<size_t>(view_)];
    plot.SetHorizontalSpan(0.0f, span, step);
    plot.SetVerticalSpan(0, 0.0f, top, kVerticalStep, 1.0f);
    plot.SetSeries(std::move(series),
                   std::vector<float>(shown.range.begin(), shown.range.begin() + cells));
    horizontalAxis_->SetCaption(shown.HorizontalCaption());
    horizontalAxis_->SetSpan(0.0f, span, step);
    verticalAxis_->SetCaption(kValueCaptions[static_cast<size_t>(view_)]);
    verticalAxis_->SetSpan(0.0f, top, kVerticalStep);
}

std::unique_ptr<QMenu> CDlgEcholux::BuildOptionsMenu() {
    auto menu = std::make_unique<QMenu>(this);
    QMenu* views = menu->addMenu("View");
    auto* group = new QActionGroup(views);
    for (size_t view = 0; view < kViewNames.size(); ++view) {
        QAction* action = views->addAction(kViewNames[view]);
        action->setCheckable(true);
        action->setChecked(view == static_cast<size_t>(view_));
        group->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, view] { SetView(static_cast<View>(view)); });
    }
    QAction* averaging = menu->addAction("Averaging", this, &CDlgEcholux::ToggleAveraging);
    averaging->setCheckable(true);
    averaging->setChecked(Averaging());
    menu->addSeparator();
    if (service_.OpenFile() == DiagnosticsService::FileMode::kNone) {
        menu->addAction("Open...", this, &CDlgEcholux::OpenPlayback);
        menu->addAction("Save...", this, &CDlgEcholux::SaveRecording);
    } else {
        menu->addAction("Close file", this, &CDlgEcholux::CloseFile);
    }
    return menu;
}

void CDlgEcholux::ShowOptionsMenu() {
    const std::unique_ptr<QMenu> menu = BuildOptionsMenu();
    menu->exec(optionsButton_->mapToGlobal(QPoint(0, optionsButton_->height())));
}

void CDlgEcholux::ToggleAveraging() {
    service_.SetAveraging(!service_.Averaging());
    ClearDisplay();
}

bool CDlgEcholux::Averaging() const {
    return service_.Averaging();
}

void CDlgEcholux::OpenPlayback() {
    const QString path = fileDialog_->RecordingToOpen(this);
    if (path.isEmpty()) {
        return;
    }
    if (const auto error = service_.OpenPlayback(QFile::encodeName(path).toStdString())) {
        Warn(PathText(texts::CannotOpen(QFile::encodeName(path).toStdString(), *error)));
        return;
    }
    openFileName_ = QFileInfo(path).fileName();
    SetStatus("Playing back " + openFileName_);
    // The file's frames count from the first; the last frame stays shown until then.
    auto restarted = std::make_shared<EcholuxSnapshot>(*shown_);
    restarted->ping = 0;
    ShowSnapshot(std::move(restarted));
}

void CDlgEcholux::SaveRecording() {
    const QString path = fileDialog_->RecordingToSave(this);
    if (path.isEmpty()) {
        return;
    }
    if (const auto error = service_.OpenRecording(QFile::encodeName(path).toStdString())) {
        Warn(PathText(texts::CannotCreate(QFile::encodeName(path).toStdString(), *error)));
        return;
    }
    openFileName_ = QFileInfo(path).fileName();
    SetStatus("Recording to " + openFileName_);
}

void CDlgEcholux::CloseFile() {
    service_.CloseFile();
    openFileName_.clear();
    SetStatus({});
}

const CPlotWnd& CDlgEcholux::VisiblePlot() const {
    return *plots_[static_cast<size_t>(view_)];
}

QString CDlgEcholux::PingText() const {
    return pingLabel_->text();
}

QString CDlgEcholux::StatusText() const {
    return status_->text();
}

QString CDlgEcholux::TableText(int row, int column) const {
    const BeamRow& cells = rows_.at(static_cast<size_t>(row));
    const QLabel* label = column == 0 ? cells.first : column == 1 ? cells.position : cells.level;
    return label->isHidden() ? QString() : label->text();
}

QString CDlgEcholux::ValueAxisCaption() const {
    return verticalAxis_->Caption();
}

QString CDlgEcholux::ColumnHeader(int column) const {
    const QLabel* header = column == 0   ? firstHeader_
                           : column == 1 ? positionHeader_
                                         : levelHeader_;
    return header->isHidden() ? QString() : header->text();
}

void CDlgEcholux::SetStatus(const QString& text) {
    status_->setText(text);
}

void CDlgEcholux::Warn(const QString& text) {
    ui_.ShowText(text, "", MessageButtons::kOk, MessageIcon::kExclamation);
}

void CDlgEcholux::OnSetUp(const EcholuxSetup& setup) {
    setup_ = setup;
    if (!closing_) {
        SetBusy(false);
    }
    ClearDisplay();
}

// The window closes once the service has ended.
void CDlgEcholux::OnSetupRefused() {
    closing_ = true;
}

void CDlgEcholux::OnProgress(int percent) {
    progress_->setValue(percent);
}

void CDlgEcholux::OnFrame(std::shared_ptr<const EcholuxSnapshot> snapshot) {
    if (service_.OpenFile() != DiagnosticsService::FileMode::kPlayback) {
        notes_.beams = NoteOfSnapshot(*snapshot, service_.Averaging(), std::time(nullptr));
    }
    ShowSnapshot(std::move(snapshot));
}

void CDlgEcholux::OnPlaybackEnded(uint32_t framesPlayed) {
    SetStatus(PathText(texts::PlaybackEnd(openFileName_.toStdString(), framesPlayed)));
}

void CDlgEcholux::OnRecordingFailed() {
    SetStatus({});
    Warn(PathText(texts::RecordingFailed(openFileName_.toStdString())));
    openFileName_.clear();
}

void CDlgEcholux::OnConnectionLost() {
    SetStatus("Connection to the instrument lost");
    progress_->setValue(0);
}

template <>
void OpenFeatureWindow<DiagnosticsFeature>(const FeatureContext& context) {
    RunDetachedWindow<CDlgEcholux>(context);
}

}  // namespace brennix
