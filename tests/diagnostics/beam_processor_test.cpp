#include "diagnostics/beam_processor.h"

#include <gtest/gtest.h>

namespace brennix::test {
namespace {

// A frame of n cells with the same amplitude a, cosine and sine bytes everywhere.
BeamFrame Flat(size_t cells, uint8_t amplitude, uint8_t component = 128) {
    BeamFrame frame;
    frame.cells = cells;
    for (size_t beam = 0; beam < kBeamCount; ++beam) {
        for (size_t cell = 0; cell < cells; ++cell) {
            frame.amplitude[beam][cell] = amplitude;
            frame.cosine[beam][cell] = component;
            frame.sine[beam][cell] = component;
        }
    }
    return frame;
}

TEST(BeamAveraging, ThreeFramesOf10And20And30Show20) {
    BeamProcessor processor;
    processor.SetAveraging(true);
    EXPECT_EQ(processor.Process(Flat(100, 10)).amplitude[0][5], 10.0f);
    EXPECT_EQ(processor.Process(Flat(100, 20)).amplitude[1][5], 15.0f);
    const EcholuxSnapshot third = processor.Process(Flat(100, 30));
    EXPECT_EQ(third.amplitude[2][5], 20.0f);
    EXPECT_EQ(third.ping, 3u);
}

// The noise is the smallest amplitude of the far half; the extremes are those of the near half.
TEST(BeamFigures, NoiseFromTheFarHalfExtremesFromTheNearHalf) {
    BeamFrame frame = Flat(10, 50, 100);
    frame.amplitude[0][4] = 3;   // near half: not counted
    frame.amplitude[0][5] = 12;  // first cell of the far half
    frame.amplitude[1][9] = 8;   // last cell
    frame.amplitude[2][10] = 1;  // past N: not counted
    frame.cosine[0][0] = 3;
    frame.cosine[0][4] = 250;
    frame.sine[2][1] = 7;
    frame.sine[2][5] = 255;  // far half: not counted
    const BeamFigures figures = BeamProcessor().Process(frame).figures;
    EXPECT_EQ(figures.noise, (BeamFigures::PerBeam{12, 8, 50}));
    EXPECT_EQ(figures.cosMin[0], 3);
    EXPECT_EQ(figures.cosMax[0], 250);
    EXPECT_EQ(figures.sinMin[2], 7);
    EXPECT_EQ(figures.sinMax[2], 100);
}

TEST(BeamFigures, AProfileTooShortForHalvesKeepsTheStartValues) {
    const BeamFigures figures = BeamProcessor().Process(Flat(1, 50)).figures;
    EXPECT_EQ(figures.noise[0], 50);
    EXPECT_EQ(figures.cosMin[0], 32768);
    EXPECT_EQ(figures.cosMax[0], -32768);
    EXPECT_EQ(BeamProcessor().Process(Flat(0, 0)).figures.noise[1], 1000);
}

// Only cells 27 to 41 are searched; the first of equal highs wins; the position is in counts.
TEST(BeamFigures, PeakIsSearchedInCells27To41) {
    BeamFrame frame = Flat(100, 20);
    frame.amplitude[0][26] = 250;
    frame.amplitude[0][30] = 180;
    frame.amplitude[0][35] = 180;
    frame.amplitude[1][41] = 90;
    frame.amplitude[1][42] = 200;
    frame.amplitude[2][27] = 21;
    const BeamFigures figures = BeamProcessor().Process(frame).figures;
    EXPECT_EQ(figures.peakLevel, (BeamFigures::PerBeam{180, 90, 21}));
    EXPECT_EQ(figures.peakPosition, (BeamFigures::PerBeam{24 + 5 * 30, 24 + 5 * 41, 24 + 5 * 27}));
}

TEST(BeamFigures, PeakOfAnAveragedProfileIsItsWholePart) {
    BeamProcessor processor;
    processor.SetAveraging(true);
    BeamFrame frame = Flat(100, 20);
    frame.amplitude[0][30] = 101;
    processor.Process(frame);
    frame.amplitude[0][30] = 100;
    EXPECT_EQ(processor.Process(frame).figures.peakLevel[0], 100);
}

}  // namespace
}  // namespace brennix::test
