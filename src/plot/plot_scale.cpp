#include "plot/plot_scale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace brennix {

namespace {

// More lines or ticks than this means the span and step are nonsense; none are drawn.
constexpr size_t kMaxMarks = 4096;
constexpr float kGapLow = 32766.0f;
constexpr float kGapHigh = 32768.0f;

bool Usable(const AxisSpan& span) {
    return std::isfinite(span.minimum) && std::isfinite(span.maximum) && std::isfinite(span.step) &&
           span.step > 0.0f && span.maximum > span.minimum &&
           span.Length() / span.step < static_cast<float>(kMaxMarks);
}

std::string Format(const char* format, double value) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, value);
    return text.data();
}

bool Between(double value, double low, double high) {
    return value > low && value <= high;
}

}  // namespace

float TickStepForSpan(float span) {
    constexpr std::array<std::pair<float, float>, 6> kSteps = {{{500.0f, 100.0f},
                                                                {200.0f, 50.0f},
                                                                {100.0f, 20.0f},
                                                                {50.0f, 10.0f},
                                                                {20.0f, 5.0f},
                                                                {15.0f, 2.0f}}};
    for (const auto& [above, step] : kSteps) {
        if (span > above) {
            return step;
        }
    }
    return 1.0f;
}

std::vector<float> TickValues(const AxisSpan& span) {
    std::vector<float> ticks;
    if (!Usable(span)) {
        return ticks;
    }
    const float first = std::trunc(span.minimum / span.step) * span.step;
    for (size_t k = 0; k < kMaxMarks; ++k) {
        const float tick = first + static_cast<float>(k) * span.step;
        if (tick >= span.maximum) {
            break;
        }
        ticks.push_back(tick);
    }
    return ticks;
}

double AxisOffset(float value, const AxisSpan& span, double length) {
    return static_cast<double>(value - span.minimum) *
           (length / static_cast<double>(span.Length()));
}

std::string HorizontalTickLabel(float value) {
    return Format("%4.1f", static_cast<double>(value));
}

std::string VerticalTickLabel(float value, float step) {
    const double v = value;
    const double s = step;
    if (s < 0.01 || Between(std::fmod(v, 0.01), 0.00091, 0.0091)) {
        return Format("%4.3f", v);
    }
    if (s >= 0.1 && !Between(std::fmod(v, 0.1), 0.0091, 0.091)) {
        if (s < 1.0) {
            return Format("%4.1f", v);
        }
        return Format(Between(std::fmod(v, 1.0), 0.091, 0.91) ? "%4.1f" : "%4.0f", v);
    }
    return Format("%4.2f", v);
}

std::vector<float> HorizontalGridValues(const AxisSpan& vertical) {
    std::vector<float> values;
    if (!Usable(vertical)) {
        return values;
    }
    const float quotient = vertical.minimum / vertical.step;
    float first = std::trunc(quotient);
    if (first != quotient) {
        first += 1.0f;
    }
    first *= vertical.step;
    if (vertical.minimum <= 0.0f && first >= 1.0f) {
        first = 0.0f;
    }
    const auto lines = static_cast<size_t>(std::floor(vertical.Length() / vertical.step)) + 1;
    for (size_t k = 0; k < lines; ++k) {
        values.push_back(first + static_cast<float>(k) * vertical.step);
    }
    return values;
}

int HorizontalGridRow(float value, const AxisSpan& vertical, int height) {
    const double share = static_cast<double>(value - vertical.minimum) / vertical.Length();
    int up = static_cast<int>(std::clamp(share * height, -1.0e6, 1.0e6));
    if (up == 0) {
        up = 1;
    }
    return height - up;
}

std::vector<float> VerticalGridValues(const AxisSpan& horizontal) {
    std::vector<float> values;
    if (!Usable(horizontal)) {
        return values;
    }
    const float first = std::trunc(horizontal.minimum);
    for (size_t k = 0; k < kMaxMarks; ++k) {
        const float value = first + static_cast<float>(k) * horizontal.step;
        if (value >= horizontal.maximum) {
            break;
        }
        values.push_back(value);
    }
    return values;
}

PlotPoint MapPoint(float x, float value, const AxisSpan& horizontal, const AxisSpan& vertical,
                   float scale, double width, double height) {
    const double across = static_cast<double>(x - horizontal.minimum) * width / horizontal.Length();
    const double up = static_cast<double>(value - vertical.minimum) / vertical.Length() * height *
                      static_cast<double>(scale);
    return {across, height - up};
}

bool IsGapValue(float value) {
    return value >= kGapLow && value <= kGapHigh;
}

std::vector<std::vector<PlotPoint>> SeriesRuns(const std::vector<float>& x,
                                               const std::vector<float>& values,
                                               const std::vector<unsigned char>& mask, size_t first,
                                               size_t last, const AxisSpan& horizontal,
                                               const AxisSpan& vertical, float scale, double width,
                                               double height) {
    std::vector<std::vector<PlotPoint>> runs;
    std::vector<PlotPoint> run;
    const auto endRun = [&] {
        if (run.size() > 1) {
            runs.push_back(std::move(run));
        }
        run.clear();
    };
    const size_t count = std::min(x.size(), values.size());
    for (size_t i = first; i <= last && i < count; ++i) {
        const bool masked = i < mask.size() && mask[i] == 0;
        if (masked || IsGapValue(values[i])) {
            endRun();
            continue;
        }
        run.push_back(MapPoint(x[i], values[i], horizontal, vertical, scale, width, height));
    }
    endRun();
    return runs;
}

}  // namespace brennix
