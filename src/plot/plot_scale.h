#pragma once

#include <string>
#include <vector>

namespace brennix {

// One axis of a plot: the values it spans and the step between its ticks and grid lines.
struct AxisSpan {
    float minimum = 0.0f;
    float maximum = 1.0f;
    float step = 1.0f;

    float Length() const { return maximum - minimum; }
};

// The tick step for an axis spanning span: 100 above 500, 50 above 200, 20 above 100, 10 above
// 50, 5 above 20, 2 above 15, else 1.
float TickStepForSpan(float span);

// Tick values: from the minimum divided by the step (truncated toward zero) times the step, at
// every step while below the maximum. Empty for a span or step that gives no sensible ticks.
std::vector<float> TickValues(const AxisSpan& span);
// How far along an axis of the given length a value lies, from the axis start.
double AxisOffset(float value, const AxisSpan& span, double length);

// "%4.1f" on the horizontal axis.
std::string HorizontalTickLabel(float value);
// On the vertical axis the decimals follow the step and how far the value is from a round one.
std::string VerticalTickLabel(float value, float step);

// The values of the grid's horizontal lines for a vertical span: the first at or above the
// minimum on the step's raster, then one per step, floor(length / step) + 1 lines in all.
std::vector<float> HorizontalGridValues(const AxisSpan& vertical);
// The pixel row of a horizontal grid line in a plot of the given height: the bottom row is
// height - 1, so a line on the minimum stays visible.
int HorizontalGridRow(float value, const AxisSpan& vertical, int height);
// The values of the vertical grid lines: from the minimum taken as a whole number, per step,
// while below the maximum.
std::vector<float> VerticalGridValues(const AxisSpan& horizontal);

// A data point in plot pixels.
struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
};
PlotPoint MapPoint(float x, float value, const AxisSpan& horizontal, const AxisSpan& vertical,
                   float scale, double width, double height);

// A value the instrument uses for "no data": the line breaks there.
bool IsGapValue(float value);

// The connected runs of a series: points from first to last (inclusive) split at gaps (mask byte
// 0 or a gap value). A lone point between gaps draws nothing and is left out.
std::vector<std::vector<PlotPoint>> SeriesRuns(const std::vector<float>& x,
                                               const std::vector<float>& values,
                                               const std::vector<unsigned char>& mask, size_t first,
                                               size_t last, const AxisSpan& horizontal,
                                               const AxisSpan& vertical, float scale, double width,
                                               double height);

}  // namespace brennix
