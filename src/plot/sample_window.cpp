#include "plot/sample_window.h"

#include <algorithm>
#include <cmath>

namespace brennix {

namespace {

constexpr double kLineShare = 0.04;

int LineStep(const SampleWindow& window) {
    return std::max(1, static_cast<int>(kLineShare * window.Count()));
}

}  // namespace

SampleWindow ScrollWindow(const SampleWindow& window, ScrollAction action, int thumb,
                          int available) {
    int first = window.first;
    switch (action) {
        case ScrollAction::kLineLeft:
            first -= LineStep(window);
            break;
        case ScrollAction::kLineRight:
            first += LineStep(window);
            break;
        case ScrollAction::kPageLeft:
            first -= 2 * LineStep(window);
            break;
        case ScrollAction::kPageRight:
            first += 2 * LineStep(window);
            break;
        case ScrollAction::kThumb:
            first = thumb;
            break;
    }
    const int count = std::min(window.Count(), std::max(available, 1));
    first = std::clamp(first, 0, std::max(available - count, 0));
    return {first, first + count - 1};
}

int SampleAt(double x, double width, const SampleWindow& window) {
    if (!(width > 0.0) || !std::isfinite(x)) {
        return 0;
    }
    const double sample = std::floor(x / width * window.Count());
    return static_cast<int>(std::clamp(sample, 0.0, static_cast<double>(window.Count() - 1)));
}

std::pair<int, int> SelectedSamples(int startSample, int currentSample,
                                    const SampleWindow& window) {
    return {std::min(startSample, currentSample) + window.first,
            std::max(startSample, currentSample) + window.first};
}

}  // namespace brennix
