#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

#include "plot/plot_scale.h"

namespace brennix {

// An axis beside a plot: tick marks, a label at every tick and a caption along the axis. The
// horizontal axis runs left to right under its plot, the vertical one bottom to top beside it;
// each must be laid out to the plot's length.
class CPlotAxis : public QWidget {
    Q_OBJECT

  public:
    void SetSpan(float minimum, float maximum, float step);
    void SetCaption(const QString& caption);
    const AxisSpan& Span() const { return span_; }
    const QString& Caption() const { return caption_; }

  signals:
    // A double-click on the axis.
    void DoubleClicked(int notifyId);

  protected:
    CPlotAxis(Qt::Orientation orientation, bool drawTicks, int notifyId, QWidget* parent);

    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void PaintHorizontal(class QPainter& painter);
    void PaintVertical(class QPainter& painter);

    Qt::Orientation orientation_;
    bool drawTicks_;
    int notifyId_;
    AxisSpan span_;
    QString caption_;
    QFont font_;
};

// The horizontal axis: labels "%4.1f".
class CPlotAxisX final : public CPlotAxis {
  public:
    explicit CPlotAxisX(bool drawTicks = true, int notifyId = 0, QWidget* parent = nullptr)
        : CPlotAxis(Qt::Horizontal, drawTicks, notifyId, parent) {}
};

// The vertical axis: the label decimals follow the step and the value.
class CPlotAxisY final : public CPlotAxis {
  public:
    explicit CPlotAxisY(bool drawTicks = true, int notifyId = 0, QWidget* parent = nullptr)
        : CPlotAxis(Qt::Vertical, drawTicks, notifyId, parent) {}
};

}  // namespace brennix
