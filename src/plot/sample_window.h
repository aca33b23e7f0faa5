#pragma once

#include <utility>

namespace brennix {

// The samples a plot shows, first to last inclusive, out of the samples 0 to available - 1 it
// holds.
struct SampleWindow {
    int first = 0;
    int last = 0;

    int Count() const { return last - first + 1; }
    bool operator==(const SampleWindow&) const = default;
};

enum class ScrollAction { kLineLeft, kLineRight, kPageLeft, kPageRight, kThumb };

// The window after a scroll: a line is 4 % of the window's width (at least one sample), a page
// twice that, the thumb puts the first sample at its position. The window keeps its width and
// never leaves the available samples.
SampleWindow ScrollWindow(const SampleWindow& window, ScrollAction action, int thumb,
                          int available);

// The sample (counted from the window's first) under a point x pixels into a plot width pixels
// wide, kept inside the window.
int SampleAt(double x, double width, const SampleWindow& window);

// A drag's selection as absolute sample numbers, lower first, whichever way the drag went.
std::pair<int, int> SelectedSamples(int startSample, int currentSample, const SampleWindow& window);

}  // namespace brennix
