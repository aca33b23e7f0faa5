#include "diagnostics/gui/plot_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace brennix {

namespace {

constexpr double kThickGridShare = 0.002;
constexpr double kThickLineShare = 0.004;
constexpr uint32_t kLightBackground = 0x7FFFFF;
constexpr QColor kSelectionBand{128, 128, 128, 96};

// The colour as the handheld's 0x00BBGGRR value, which decides how the layers combine.
uint32_t ColourValue(const QColor& colour) {
    return static_cast<uint32_t>(colour.red()) | static_cast<uint32_t>(colour.green()) << 8 |
           static_cast<uint32_t>(colour.blue()) << 16;
}

}  // namespace

CPlotWnd::CPlotWnd(QColor background, QColor grid, bool thickLines, int notifyId, QWidget* parent)
    : QWidget(parent),
      background_(background),
      grid_(grid),
      thickLines_(thickLines),
      notifyId_(notifyId),
      scrollBar_(new QScrollBar(Qt::Horizontal, this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    setMinimumSize(64, 48);
    scrollBar_->hide();
    connect(scrollBar_, &QScrollBar::actionTriggered, this, &CPlotWnd::OnScrollAction);
}

void CPlotWnd::SetHorizontalSpan(float minimum, float maximum, float step) {
    horizontal_ = {minimum, maximum, step};
    gridStale_ = dataStale_ = true;
    update();
}

void CPlotWnd::SetVerticalSpan(int scale, float minimum, float maximum, float step, float factor) {
    if (scale < 0 || scale >= kScales) {
        return;
    }
    vertical_[static_cast<size_t>(scale)] = {{minimum, maximum, step}, factor};
    gridStale_ = dataStale_ = true;
    update();
}

void CPlotWnd::SetSeries(std::vector<PlotSeries> series, std::vector<float> x) {
    if (series.size() > kMaxSeries) {
        series.resize(kMaxSeries);
    }
    series_ = std::move(series);
    x_ = std::move(x);
    // A narrowed window stays where it is while the data keeps its length.
    const auto count = static_cast<int>(x_.size());
    if (count != sampleCount_ || window_.Count() >= sampleCount_) {
        window_ = {0, std::max(count - 1, 0)};
    }
    sampleCount_ = count;
    UpdateScrollBar();
    dataStale_ = true;
    update();
}

void CPlotWnd::SetSampleWindow(const SampleWindow& window) {
    const int count = std::clamp(window.Count(), 1, std::max(sampleCount_, 1));
    window_ = ScrollWindow({0, count - 1}, ScrollAction::kThumb, window.first, sampleCount_);
    UpdateScrollBar();
    Redraw();
}

void CPlotWnd::Redraw() {
    gridStale_ = dataStale_ = true;
    update();
}

QSize CPlotWnd::PlotSize() const {
    const int bar = scrollBar_->isHidden() ? 0 : scrollBar_->sizeHint().height();
    return {width(), std::max(height() - bar, 1)};
}

int CPlotWnd::LineWidth(double share) const {
    return thickLines_ ? std::max(2, static_cast<int>(share * PlotSize().height())) : 1;
}

void CPlotWnd::RebuildGrid() {
    const QSize size = PlotSize();
    if (gridLayer_.size() != size) {
        gridLayer_ = QPixmap(size);
    }
    gridLayer_.fill(background_);
    QPainter painter(&gridLayer_);
    painter.setPen(QPen(grid_, LineWidth(kThickGridShare)));
    const AxisSpan& vertical = vertical_[0].span;
    for (const float value : HorizontalGridValues(vertical)) {
        const int row = HorizontalGridRow(value, vertical, size.height());
        painter.drawLine(0, row, size.width(), row);
    }
    for (const float value : VerticalGridValues(horizontal_)) {
        const auto column = static_cast<int>(AxisOffset(value, horizontal_, size.width()));
        painter.drawLine(column, 0, column, size.height());
    }
    gridStale_ = false;
}

// The lines are drawn over the background colour, a later series over an earlier one; the
// result is then ORed onto a copy of the grid on a dark background and ANDed on a light one, so
// the grid shows through the lines. A repaint only copies the combined layer.
void CPlotWnd::RebuildData() {
    const QSize size = PlotSize();
    if (dataLayer_.size() != size) {
        dataLayer_ = QPixmap(size);
    }
    dataLayer_.fill(background_);
    {
        QPainter painter(&dataLayer_);
        for (const PlotSeries& series : series_) {
            DrawSeries(painter, series, size);
        }
    }
    shownLayer_ = gridLayer_;
    QPainter combiner(&shownLayer_);
    combiner.setCompositionMode(ColourValue(background_) >= kLightBackground
                                    ? QPainter::RasterOp_SourceAndDestination
                                    : QPainter::RasterOp_SourceOrDestination);
    combiner.drawPixmap(0, 0, dataLayer_);
    dataStale_ = false;
}

void CPlotWnd::DrawSeries(QPainter& painter, const PlotSeries& series, const QSize& size) const {
    const VerticalScale& scale = vertical_[static_cast<size_t>(std::clamp(series.scale, 0, 1))];
    painter.setPen(QPen(series.colour, LineWidth(kThickLineShare)));
    const auto runs = SeriesRuns(x_, series.values, series.mask, static_cast<size_t>(window_.first),
                                 static_cast<size_t>(std::max(window_.last, 0)), horizontal_,
                                 scale.span, scale.factor, size.width(), size.height());
    for (const std::vector<PlotPoint>& run : runs) {
        QPolygonF line;
        line.reserve(static_cast<int>(run.size()));
        for (const PlotPoint& point : run) {
            line << QPointF(point.x, point.y);
        }
        painter.drawPolyline(line);
    }
}

void CPlotWnd::paintEvent(QPaintEvent*) {
    if (gridStale_ || gridLayer_.size() != PlotSize()) {
        RebuildGrid();
        dataStale_ = true;
    }
    if (dataStale_) {
        RebuildData();
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, shownLayer_);
    if (dragging_) {
        const double left = SampleX(std::min(dragStart_, dragCurrent_));
        const double right = SampleX(std::max(dragStart_, dragCurrent_) + 1);
        painter.fillRect(QRectF(left, 0, right - left, PlotSize().height()), kSelectionBand);
    }
}

void CPlotWnd::resizeEvent(QResizeEvent*) {
    const int bar = scrollBar_->sizeHint().height();
    scrollBar_->setGeometry(0, height() - bar, width(), bar);
    gridStale_ = dataStale_ = true;
}

double CPlotWnd::SampleX(int sample) const {
    return static_cast<double>(sample) * PlotSize().width() / window_.Count();
}

void CPlotWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || sampleCount_ == 0) {
        return;
    }
    dragging_ = true;
    dragStart_ = dragCurrent_ = SampleAt(event->position().x(), PlotSize().width(), window_);
    update();
}

void CPlotWnd::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        return;
    }
    dragCurrent_ = SampleAt(event->position().x(), PlotSize().width(), window_);
    update();
}

void CPlotWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging_ || event->button() != Qt::LeftButton) {
        return;
    }
    dragging_ = false;
    update();
    const auto [first, last] = SelectedSamples(dragStart_, dragCurrent_, window_);
    emit SelectionMade(notifyId_, first, last);
}

void CPlotWnd::OnScrollAction(int action) {
    ScrollAction scroll = ScrollAction::kThumb;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            scroll = ScrollAction::kLineLeft;
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            scroll = ScrollAction::kLineRight;
            break;
        case QAbstractSlider::SliderPageStepSub:
            scroll = ScrollAction::kPageLeft;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            scroll = ScrollAction::kPageRight;
            break;
        default:
            break;  // dragging the thumb or jumping to an end: where the slider now is
    }
    const SampleWindow moved =
        ScrollWindow(window_, scroll, scrollBar_->sliderPosition(), sampleCount_);
    scrollBar_->setSliderPosition(moved.first);
    if (moved.first == window_.first) {
        return;
    }
    const int distance = moved.first - window_.first;
    window_ = moved;
    dataStale_ = true;
    update();
    emit SampleWindowMoved(notifyId_, window_.first, window_.last, distance);
}

void CPlotWnd::UpdateScrollBar() {
    const bool needed = window_.Count() < sampleCount_;
    scrollBar_->setRange(0, std::max(sampleCount_ - window_.Count(), 0));
    scrollBar_->setPageStep(window_.Count());
    scrollBar_->setValue(window_.first);
    if (needed == scrollBar_->isHidden()) {
        scrollBar_->setVisible(needed);
        gridStale_ = dataStale_ = true;
    }
}

}  // namespace brennix
