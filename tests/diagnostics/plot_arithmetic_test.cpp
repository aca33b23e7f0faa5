// The arithmetic of the plots: tick and grid positions, labels, point mapping, gaps, scrolling
// and selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plot/plot_scale.h"
#include "plot/sample_window.h"

namespace brennix::test {
namespace {

TEST(TickRule, StepGrowsWithTheSpan) {
    // Either side of each span where the step changes.
    using Step = std::pair<float, float>;
    for (const auto& [span, step] :
         {Step{750, 100}, Step{500.5f, 100}, Step{500, 50}, Step{201, 50}, Step{200, 20},
          Step{101, 20}, Step{100, 10}, Step{51, 10}, Step{50, 5}, Step{22, 5}, Step{20, 2},
          Step{15.5f, 2}, Step{15, 1}, Step{0, 1}}) {
        EXPECT_EQ(TickStepForSpan(span), step) << span;
    }
}

TEST(AxisTicks, Span0To22GivesFiveLabelledTicks) {
    const AxisSpan span{0, 22, TickStepForSpan(22)};
    const std::vector<float> ticks = TickValues(span);
    EXPECT_EQ(ticks, (std::vector<float>{0, 5, 10, 15, 20}));
    std::vector<std::string> labels;
    for (const float tick : ticks) {
        labels.push_back(HorizontalTickLabel(tick));
    }
    EXPECT_EQ(labels, (std::vector<std::string>{" 0.0", " 5.0", "10.0", "15.0", "20.0"}));
    EXPECT_DOUBLE_EQ(AxisOffset(20, span, 440), 400);
}

// The first tick truncates toward zero; nonsense spans draw nothing.
TEST(AxisTicks, FirstTickTruncatesTowardZero) {
    EXPECT_EQ(TickValues({-7, 12, 5}), (std::vector<float>{-5, 0, 5, 10}));
    EXPECT_EQ(TickValues({7, 21, 5}), (std::vector<float>{5, 10, 15, 20}));
    EXPECT_TRUE(TickValues({0, 10, 0}).empty());
    EXPECT_TRUE(TickValues({10, 0, 1}).empty());
    EXPECT_TRUE(TickValues({0, 1e9f, 1}).empty());
    EXPECT_TRUE(HorizontalGridValues({0, 10, -1}).empty());
}

TEST(VerticalLabels, DecimalsFollowTheStepAndTheValue) {
    struct Case {
        float value;
        float step;
        const char* label;
    };
    for (const Case& c :
         {Case{250, 50, " 250"}, Case{0, 50, "   0"}, Case{2.5f, 1, " 2.5"},
          Case{0.5f, 0.5f, " 0.5"}, Case{0.005f, 0.001f, "0.005"}, Case{0.125f, 0.05f, "0.125"},
          Case{0.25f, 0.05f, "0.25"}, Case{1.05f, 1, "1.05"}}) {
        EXPECT_EQ(VerticalTickLabel(c.value, c.step), c.label) << c.value;
    }
}

TEST(Grid, Span0To250Step50HasSixLinesTheLowestOneAboveTheBottom) {
    const AxisSpan vertical{0, 250, 50};
    EXPECT_EQ(HorizontalGridValues(vertical), (std::vector<float>{0, 50, 100, 150, 200, 250}));
    EXPECT_EQ(HorizontalGridRow(0, vertical, 500), 499);
    EXPECT_EQ(HorizontalGridRow(50, vertical, 500), 400);
    EXPECT_EQ(HorizontalGridRow(250, vertical, 500), 0);
    // The first horizontal line sits on the step at or above the minimum.
    EXPECT_EQ(HorizontalGridValues({12, 30, 5}).front(), 15);
    EXPECT_EQ(HorizontalGridValues({10, 30, 5}).front(), 10);
    EXPECT_EQ(HorizontalGridValues({-0.5f, 3, 1}).front(), 0);
    // Below zero the rounding up overshoots to the zero line.
    EXPECT_EQ(HorizontalGridValues({-7, 3, 5}), (std::vector<float>{0, 5, 10}));
}

TEST(Grid, VerticalLinesStartFromTheWholeMinimumAndStayBelowTheMaximum) {
    EXPECT_EQ(VerticalGridValues({0, 22, 5}), (std::vector<float>{0, 5, 10, 15, 20}));
    EXPECT_EQ(VerticalGridValues({2.7f, 12, 5}), (std::vector<float>{2, 7}));
}

TEST(PointMapping, ScalesAcrossAndUpFromTheBottom) {
    const AxisSpan horizontal{0, 22, 5};
    const AxisSpan vertical{0, 250, 50};
    const PlotPoint middle = MapPoint(11, 125, horizontal, vertical, 1, 440, 500);
    EXPECT_DOUBLE_EQ(middle.x, 220);
    EXPECT_DOUBLE_EQ(middle.y, 250);
    EXPECT_DOUBLE_EQ(MapPoint(0, 125, horizontal, vertical, 2, 440, 500).y, 0);
}

// A value at 32767 or a masked point breaks the line; only the shown samples are drawn.
TEST(SeriesGaps, AValueAt32767OrAMaskedPointBreaksTheLine) {
    const AxisSpan span{0, 10, 1};
    const std::vector<float> x = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    const auto runs = [&](std::vector<float> values, const std::vector<unsigned char>& mask) {
        values.resize(x.size(), 1);
        std::vector<size_t> sizes;
        for (const auto& run : SeriesRuns(x, values, mask, 0, 6, span, span, 1, 100, 100)) {
            sizes.push_back(run.size());
        }
        return sizes;
    };
    EXPECT_EQ(runs({1, 2, 32767, 3, 4, 5, 6}, {}), (std::vector<size_t>{2, 4}));
    EXPECT_EQ(runs({1, 2, 32765, 3, 4, 5, 6}, {}), (std::vector<size_t>{7}));
    EXPECT_EQ(runs({1, 2, 3, 4, 5, 6, 7}, {1, 1, 1, 0, 1, 1, 1}), (std::vector<size_t>{3, 3}));
    // A point alone between two gaps draws nothing.
    EXPECT_EQ(runs({1, 32766, 3, 32768, 4, 5, 6}, {}), (std::vector<size_t>{3}));
    const auto shown = SeriesRuns(x, std::vector<float>(10, 1), {}, 3, 6, span, span, 1, 100, 100);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].size(), 4u);
    EXPECT_DOUBLE_EQ(shown[0].front().x, 30);
}

struct ScrollCase {
    const char* name;
    SampleWindow before;
    ScrollAction action;
    int thumb;
    SampleWindow after;
};

TEST(Scrolling, MovesByLinesPagesOrThumbWithinTheSamples) {
    for (const ScrollCase& c :
         {ScrollCase{"LineIsFourPercent", {100, 299}, ScrollAction::kLineRight, 0, {108, 307}},
          ScrollCase{"LineIsAtLeastOneSample", {100, 109}, ScrollAction::kLineLeft, 0, {99, 108}},
          ScrollCase{"PageIsTwoLines", {100, 299}, ScrollAction::kPageLeft, 0, {84, 283}},
          ScrollCase{"ThumbPlacesTheFirstSample", {0, 199}, ScrollAction::kThumb, 500, {500, 699}},
          ScrollCase{"NeverBeforeTheFirst", {3, 202}, ScrollAction::kPageLeft, 0, {0, 199}},
          ScrollCase{"NeverPastTheLast", {790, 989}, ScrollAction::kPageRight, 0, {800, 999}},
          ScrollCase{"ThumbPastTheEnd", {0, 199}, ScrollAction::kThumb, 5000, {800, 999}},
          ScrollCase{"WiderThanTheData", {0, 1999}, ScrollAction::kLineRight, 0, {0, 999}}}) {
        EXPECT_EQ(ScrollWindow(c.before, c.action, c.thumb, 1000), c.after) << c.name;
    }
}

TEST(Selection, DraggingEitherWayReportsTheSameRange) {
    const SampleWindow window{200, 299};
    const int left = SampleAt(10, 400, window);
    const int right = SampleAt(390, 400, window);
    EXPECT_EQ(left, 2);
    EXPECT_EQ(right, 97);
    EXPECT_EQ(SelectedSamples(left, right, window), (std::pair{202, 297}));
    EXPECT_EQ(SelectedSamples(right, left, window), (std::pair{202, 297}));
    // Points outside the plot are kept in the window.
    EXPECT_EQ(SampleAt(-50, 400, window), 0);
    EXPECT_EQ(SampleAt(900, 400, window), 99);
    EXPECT_EQ(SampleAt(10, 0, window), 0);
}

}  // namespace
}  // namespace brennix::test
