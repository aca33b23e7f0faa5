#include "records/amplitude_plot.h"

#include <algorithm>
#include <array>

#include "platform/number_text.h"
#include "plot/plot_scale.h"

namespace brennix {

namespace {

constexpr double kWidth = 480.0;
constexpr double kHeight = 210.0;
constexpr double kLeft = 34.0;
constexpr double kRight = 8.0;
constexpr double kTop = 8.0;
constexpr double kBottom = 34.0;
constexpr double kPlotWidth = kWidth - kLeft - kRight;
constexpr double kPlotHeight = kHeight - kTop - kBottom;
constexpr AxisSpan kAmplitude = {0.0f, 250.0f, 50.0f};
// Green as bright as the window's would not show on paper.
constexpr std::array<const char*, 3> kBeamColours = {"#e00000", "#0000e0", "#00a000"};

std::string Number(double value) {
    return FixedText(value, 1);
}

double X(float value, const AxisSpan& span) {
    return kLeft + AxisOffset(value, span, kPlotWidth);
}

double Y(float value) {
    return kTop + kPlotHeight -
           AxisOffset(std::clamp(value, 0.0f, kAmplitude.maximum), kAmplitude, kPlotHeight);
}

std::string Line(double x1, double y1, double x2, double y2) {
    return "<line x1=\"" + Number(x1) + "\" y1=\"" + Number(y1) + "\" x2=\"" + Number(x2) +
           "\" y2=\"" + Number(y2) + "\"/>";
}

std::string Label(double x, double y, const char* anchor, const std::string& text) {
    return "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\" text-anchor=\"" + anchor + "\">" +
           text + "</text>";
}

// Grid lines with their tick labels, on both axes.
std::string Grid(const AxisSpan& horizontal) {
    std::string grid = "<g stroke=\"#c8c8c8\" stroke-width=\"0.6\">";
    std::string labels = "<g font-family=\"sans-serif\" font-size=\"9\" fill=\"#000\">";
    for (const float value : TickValues(horizontal)) {
        const double x = X(value, horizontal);
        grid += Line(x, kTop, x, kTop + kPlotHeight);
        labels += Label(x, kTop + kPlotHeight + 11, "middle", HorizontalTickLabel(value));
    }
    for (const float value : TickValues(kAmplitude)) {
        grid += Line(kLeft, Y(value), kLeft + kPlotWidth, Y(value));
        labels += Label(kLeft - 3, Y(value) + 3, "end", VerticalTickLabel(value, kAmplitude.step));
    }
    return grid + "</g>" + labels + "</g>";
}

std::string Curve(const BeamNote& beams, const AxisSpan& horizontal, size_t beam) {
    const std::vector<float>& amplitude = beams.beams[beam].amplitude;
    const size_t cells = std::min(amplitude.size(), beams.range.size());
    std::string points;
    for (size_t cell = 0; cell < cells; ++cell) {
        const float range = std::clamp(beams.range[cell], horizontal.minimum, horizontal.maximum);
        points += (cell == 0 ? "" : " ") + Number(X(range, horizontal)) + "," +
                  Number(Y(amplitude[cell]));
    }
    return "<polyline fill=\"none\" stroke-width=\"1.2\" stroke=\"" +
           std::string(kBeamColours[beam % kBeamColours.size()]) + "\" points=\"" + points + "\"/>";
}

}  // namespace

std::string AmplitudePlotSvg(const BeamNote& beams) {
    // A span of nothing would put every cell nowhere.
    const float span = beams.horizontalSpan > 0.0f ? beams.horizontalSpan : 1.0f;
    const AxisSpan horizontal = {0.0f, span, TickStepForSpan(span)};
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(kWidth) +
                      "\" height=\"" + Number(kHeight) + "\" viewBox=\"0 0 " + Number(kWidth) +
                      " " + Number(kHeight) + "\">";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + Number(kWidth) + "\" height=\"" + Number(kHeight) +
           "\" fill=\"#fff\"/>";
    svg += Grid(horizontal);
    for (size_t beam = 0; beam < beams.beams.size(); ++beam) {
        svg += Curve(beams, horizontal, beam);
    }
    svg += "<rect x=\"" + Number(kLeft) + "\" y=\"" + Number(kTop) + "\" width=\"" +
           Number(kPlotWidth) + "\" height=\"" + Number(kPlotHeight) +
           "\" fill=\"none\" stroke=\"#000\" stroke-width=\"0.8\"/>";
    svg += "<g font-family=\"sans-serif\" font-size=\"10\">" +
           Label(kLeft + kPlotWidth / 2, kHeight - 4, "middle", beams.horizontalCaption) + "</g>";
    return svg + "</svg>";
}

}  // namespace brennix
