// What the instrument's calibration texts mean, and how the scores are rated.
#include <gtest/gtest.h>

#include <optional>

#include "compass/compass_rating.h"
#include "compass/compass_replies.h"

namespace brennix::test {
namespace {

struct AttitudeCase {
    const char* name;
    const char* text;
    std::optional<Attitude> attitude;
};

TEST(AttitudeParsing, ReadsTheLastHeadingWithItsPitchAndRoll) {
    for (const AttitudeCase& c :
         {AttitudeCase{"HeadingPastOneTurn", "Heading= 361.5 Pitch= 2.0 Roll= -1.25\r\n",
                       Attitude{1.5, 2.0, -1.25}},
          AttitudeCase{"HeadingBelowMinusOneTurn", "Heading=-370 Pitch=0 Roll=0\r\n",
                       Attitude{-10, 0, 0}},
          AttitudeCase{"HeadingOfTwoTurnsComesBackOnce", "Heading= 725 Pitch= 0 Roll= 0\r\n",
                       Attitude{365, 0, 0}},
          AttitudeCase{
              "LastLineWins",
              "Heading= 10.0 Pitch= 1.0 Roll= 1.0\r\nHeading= 20.0 Pitch= 2.0 Roll= 2.0\r\n",
              Attitude{20, 2, 2}},
          AttitudeCase{"HeadingInAnyCase", "HEADING= 5 Pitch= 6 Roll= 7 ", Attitude{5, 6, 7}},
          AttitudeCase{"PlusSignAndBlanks", "Heading =  +12.5 Pitch = 3 Roll = 4\n",
                       Attitude{12.5, 3, 4}},
          // Half a roll would show a wrong value for a moment.
          AttitudeCase{"RollStillArriving",
                       "Heading= 10 Pitch= 1 Roll= 1.5\r\nHeading= 20 Pitch= 2 Roll= -1.2",
                       std::nullopt},
          // A line still arriving hides the complete one before it.
          AttitudeCase{"LastLineCutShort", "Heading= 10 Pitch= 1 Roll= 1\r\nHeading= 20 Pitch= 2",
                       std::nullopt},
          AttitudeCase{"NoHeading", "Pitch= 1 Roll= 1", std::nullopt},
          AttitudeCase{"NoEquals", "Heading 123.4 Pitch 1.2 Roll -0.8", std::nullopt},
          AttitudeCase{"NotANumber", "Heading= abc Pitch= 1 Roll= 1", std::nullopt},
          AttitudeCase{"PlusThenMinus", "Heading= +-5 Pitch= 1 Roll= 1\r\n", std::nullopt},
          AttitudeCase{"NotFinite", "Heading= nan Pitch= 1 Roll= 1", std::nullopt},
          AttitudeCase{"Empty", "", std::nullopt}}) {
        EXPECT_EQ(ParseAttitude(c.text), c.attitude) << c.name;
    }
}

struct ScoreCase {
    const char* name;
    const char* text;
    bool parses;
    int horizontal = 0;
    int vertical = 0;
    double field = 0.0;
};

TEST(ScoreParsing, ReadsHThenVThenMAfterScore) {
    for (const ScoreCase& c :
         {ScoreCase{"AsTheInstrumentSendsIt", "\r\nCalibration score: H 12 V 7 M 25.0\r\n>", true,
                    12, 7, 25.0},
          ScoreCase{"WithoutBlanks", "score:H9V8M10.5", true, 9, 8, 10.5},
          ScoreCase{"LettersBeforeScoreDoNotCount", "Heading Value M 3 score: H 1 V 2 M 3", true, 1,
                    2, 3.0},
          ScoreCase{"NoScoreWord", "H 1 V 2 M 3", false}, ScoreCase{"NoV", "score: H 1 M 3", false},
          ScoreCase{"NoNumberAfterH", "score: H V 2 M 3", false},
          ScoreCase{"HugeScore", "score: H 99999999999 V 2 M 3", false}}) {
        SCOPED_TRACE(c.name);
        const std::optional<CompassScores> scores = ParseScores(c.text);
        ASSERT_EQ(scores.has_value(), c.parses);
        if (scores) {
            EXPECT_EQ(scores->horizontal, c.horizontal);
            EXPECT_EQ(scores->vertical, c.vertical);
            EXPECT_DOUBLE_EQ(scores->field, c.field);
        }
    }
}

TEST(ScoreReport, RatesEachScoreAndTheField) {
    EXPECT_EQ(ScoreReport({12, 7, 25.0}),
              "Horizontal calibration score (0-9):         0 (VERY POOR)\n"
              "Vertical calibration score (0-9):           7 (FAIR)\n"
              "Ambient magnetic field strength (0-100): 25.00 (FAIR)");
}

struct FieldCase {
    double field;
    const char* word;
};

// Field 110 and beyond has no word in the table; it is worse than the worst there is.
TEST(FieldWords, StrongerFieldsRateWorse) {
    for (const FieldCase& c : {FieldCase{0, "EXCELLENT"}, FieldCase{-20, "EXCELLENT"},
                               FieldCase{15, "GOOD"}, FieldCase{25, "FAIR"}, FieldCase{50, "POOR"},
                               FieldCase{100, "VERY POOR"}, FieldCase{109.9, "VERY POOR"},
                               FieldCase{110, "VERY POOR"}, FieldCase{1e300, "VERY POOR"}}) {
        EXPECT_EQ(std::string(QualityWord(FieldQuality(c.field))), c.word) << c.field;
    }
}

}  // namespace
}  // namespace brennix::test
