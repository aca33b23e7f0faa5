#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <vector>

#include "plot/plot_scale.h"
#include "plot/sample_window.h"

class QPainter;
class QScrollBar;

namespace brennix {

// One line of a plot: its values, an optional mask (0 = no point), its colour and the vertical
// scale it is drawn against.
struct PlotSeries {
    std::vector<float> values;
    std::vector<unsigned char> mask;
    QColor colour;
    int scale = 0;
};

// A plot area: up to six series over a grid, drawn as x-y lines against x values they share.
// Painting is layered: the grid is drawn into a pixmap of the widget's size when the spans or
// the size change, the lines into another when the data changes too, and the two are combined
// once so that a repaint only copies the result. A
// horizontal scroll bar appears when the shown sample window is narrower than the data; dragging
// with the left button selects a range of samples.
class CPlotWnd : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kMaxSeries = 6;
    static constexpr int kScales = 2;

    CPlotWnd(QColor background, QColor grid, bool thickLines, int notifyId,
             QWidget* parent = nullptr);

    void SetHorizontalSpan(float minimum, float maximum, float step);
    void SetVerticalSpan(int scale, float minimum, float maximum, float step, float factor);
    // Replaces the series (the first six count) and the x values they share; each series has as
    // many points as it and the x values both hold. Only the data layer is drawn again.
    void SetSeries(std::vector<PlotSeries> series, std::vector<float> x);
    // Shows only samples window.first to window.last (kept within the data).
    void SetSampleWindow(const SampleWindow& window);
    const SampleWindow& ShownWindow() const { return window_; }
    int SampleCount() const { return sampleCount_; }

    // Rebuilds both layers and repaints.
    void Redraw();

  signals:
    // The shown window moved by scrolling: its new first and last sample and the samples moved.
    void SampleWindowMoved(int notifyId, int first, int last, int moved);
    // A drag selection ended: the samples it covered, lower first.
    void SelectionMade(int notifyId, int first, int last);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    struct VerticalScale {
        AxisSpan span{0.0f, 1.0f, 1.0f};
        float factor = 1.0f;
    };

    QSize PlotSize() const;
    void RebuildGrid();
    void RebuildData();
    void DrawSeries(QPainter& painter, const PlotSeries& series, const QSize& size) const;
    void OnScrollAction(int action);
    void UpdateScrollBar();
    double SampleX(int sample) const;
    int LineWidth(double share) const;

    QColor background_;
    QColor grid_;
    bool thickLines_;
    int notifyId_;
    AxisSpan horizontal_{0.0f, 1.0f, 1.0f};
    std::array<VerticalScale, kScales> vertical_;
    std::vector<PlotSeries> series_;
    std::vector<float> x_;
    int sampleCount_ = 0;
    SampleWindow window_;
    QScrollBar* scrollBar_;

    QPixmap gridLayer_;
    QPixmap dataLayer_;
    // The grid with the lines combined into it: what a repaint shows.
    QPixmap shownLayer_;
    bool gridStale_ = true;
    bool dataStale_ = true;

    bool dragging_ = false;
    int dragStart_ = 0;
    int dragCurrent_ = 0;
};

}  // namespace brennix
