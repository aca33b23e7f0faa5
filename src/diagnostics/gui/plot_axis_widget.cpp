#include "diagnostics/gui/plot_axis_widget.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace brennix {

namespace {

constexpr int kTickLength = 4;
constexpr int kGap = 2;
constexpr int kFontPixels = 11;

}  // namespace

CPlotAxis::CPlotAxis(Qt::Orientation orientation, bool drawTicks, int notifyId, QWidget* parent)
    : QWidget(parent),
      orientation_(orientation),
      drawTicks_(drawTicks),
      notifyId_(notifyId),
      font_("arial") {
    font_.setWeight(QFont::Normal);
    font_.setPixelSize(kFontPixels);
    const QFontMetrics metrics(font_);
    const int across = kTickLength + 2 * kGap + 2 * metrics.height();
    if (orientation_ == Qt::Horizontal) {
        setFixedHeight(across);
    } else {
        setFixedWidth(kTickLength + 2 * kGap + metrics.horizontalAdvance("-0000.0") +
                      metrics.height());
    }
}

void CPlotAxis::SetSpan(float minimum, float maximum, float step) {
    span_ = {minimum, maximum, step};
    update();
}

void CPlotAxis::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void CPlotAxis::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font_);
    painter.setPen(palette().color(QPalette::WindowText));
    if (orientation_ == Qt::Horizontal) {
        PaintHorizontal(painter);
    } else {
        PaintVertical(painter);
    }
}

void CPlotAxis::PaintHorizontal(QPainter& painter) {
    const int labelTop = kTickLength + kGap;
    const int labelHeight = painter.fontMetrics().height();
    for (const float tick : TickValues(span_)) {
        const auto x = static_cast<int>(AxisOffset(tick, span_, width()));
        if (drawTicks_) {
            painter.drawLine(x, 0, x, kTickLength);
        }
        const QString label = QString::fromStdString(HorizontalTickLabel(tick));
        const int labelWidth = painter.fontMetrics().horizontalAdvance(label);
        const int left = std::clamp(x - labelWidth / 2, 0, std::max(width() - labelWidth, 0));
        painter.drawText(QRect(left, labelTop, labelWidth, labelHeight), Qt::AlignCenter, label);
    }
    painter.drawText(QRect(0, labelTop + labelHeight, width(), labelHeight), Qt::AlignCenter,
                     caption_);
}

// Ticks and labels from the bottom up at the right edge; the caption turned along the left edge.
void CPlotAxis::PaintVertical(QPainter& painter) {
    const int labelHeight = painter.fontMetrics().height();
    const int labelRight = width() - kTickLength - kGap;
    for (const float tick : TickValues(span_)) {
        const auto y = height() - 1 - static_cast<int>(AxisOffset(tick, span_, height()));
        if (drawTicks_) {
            painter.drawLine(width() - kTickLength, y, width(), y);
        }
        const QString label = QString::fromStdString(VerticalTickLabel(tick, span_.step));
        const int top = std::clamp(y - labelHeight / 2, 0, std::max(height() - labelHeight, 0));
        painter.drawText(QRect(labelHeight, top, labelRight - labelHeight, labelHeight),
                         Qt::AlignRight | Qt::AlignVCenter, label);
    }
    painter.save();
    painter.translate(0, height());
    painter.rotate(-90);
    painter.drawText(QRect(0, 0, height(), labelHeight), Qt::AlignCenter, caption_);
    painter.restore();
}

void CPlotAxis::mouseDoubleClickEvent(QMouseEvent*) {
    emit DoubleClicked(notifyId_);
}

}  // namespace brennix
