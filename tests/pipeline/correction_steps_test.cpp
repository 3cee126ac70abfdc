#include "pipeline/correction_steps.h"

#include <climits>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "platform/text_format.h"

TEST(CorrectionSteps, MoveStepFollowsTheZoom)
{
    EXPECT_EQ(MoveStep(1.0f), 10);
    EXPECT_EQ(MoveStep(2.0f), 5);
    EXPECT_EQ(MoveStep(1.5f), 6);
    EXPECT_EQ(MoveStep(0.5f), 20);
    // A zoom next to 0 saturates instead of overflowing.
    EXPECT_EQ(MoveStep(std::numeric_limits<float>::denorm_min()), INT_MAX);
    EXPECT_EQ(MoveOffset(INT_MAX - 3, 10), INT_MAX);
    EXPECT_EQ(MoveOffset(INT_MIN + 3, -10), INT_MIN);
    EXPECT_EQ(MoveOffset(-7, 20), 13);
}

TEST(CorrectionSteps, ZoomStepsAreHeldAndTruncatedToThousandths)
{
    EXPECT_EQ(SteppedZoom(2.0f, 1, 1), 2.0f);
    EXPECT_EQ(SteppedZoom(0.5f, -1, 1), 0.5f);
    EXPECT_EQ(SteppedZoom(1.995f, 1, 10), 2.0f);
    EXPECT_EQ(SteppedZoom(0.503f, -1, 5), 0.5f);
    // Ten steps of 0.001 from 1.0 reach 1.01, step by step through floats.
    float zoom = 1.0f;
    for (int i = 0; i < 10; ++i)
        zoom = SteppedZoom(zoom, 1, 1);
    EXPECT_EQ(ZoomText(zoom), "1.01000");
    EXPECT_EQ(SteppedZoom(1.0f, 0, 1), 1.0f);
    EXPECT_EQ(TruncateToThousandth(-0.0015f), -0.001f);
    EXPECT_EQ(TruncateToThousandth(1.0009f), 1.0f);
}

TEST(CorrectionSteps, RotationStepsTurnAgainstTheirSignAndStopAt180)
{
    EXPECT_EQ(SteppedAngle(0.0f, 1), -0.001f);
    EXPECT_EQ(SteppedAngle(0.0f, -1), 0.001f);
    EXPECT_EQ(SteppedAngle(-179.9995f, 1), -180.0f);
    EXPECT_EQ(SteppedAngle(180.0f, -1), 180.0f);
    EXPECT_EQ(SteppedAngle(2.5f, 0), 2.5f);
    EXPECT_EQ(FloatToStrGeneral(SteppedAngle(0.0f, 1)), "-0.00100000004749745");
}

TEST(CorrectionSteps, BarsGiveZoomOffsetsAndAngle)
{
    EXPECT_EQ(ZoomFromBar(0), 1.0f);
    EXPECT_EQ(ZoomText(ZoomFromBar(0)), "1.00000");
    EXPECT_EQ(ZoomFromBar(100), 2.0f);
    EXPECT_EQ(ZoomText(ZoomFromBar(37)), "1.37000");

    EXPECT_EQ(OffsetFromBar(0, 1.0f), -500);
    EXPECT_EQ(OffsetFromBar(0, 2.0f), -250);
    EXPECT_EQ(OffsetFromBar(100, 1.5f), 333);
    EXPECT_EQ(OffsetFromBar(50, 0.3f), 0);

    struct Case {
        int position;
        float angle;
        const char* text;
    };
    for (const Case& c : {Case{0, -5.0f, "-5"}, Case{1000, 5.0f, "5"}, Case{750, 2.5f, "2.5"}, Case{499, 0.0f, "0"},
                          Case{500, 0.0f, "0"}, Case{501, 0.0f, "0"}, Case{502, 0.02f, "0.019"},
                          Case{498, -0.02f, "-0.019"}, Case{623, 1.23f, "1.230"}}) {
        const AngleBarValue value = AngleFromBar(c.position, 1000);
        EXPECT_EQ(value.angle, c.angle) << c.position;
        EXPECT_EQ(value.text, c.text) << c.position;
    }
    // The 18000 hold matters only for bars longer than the design's.
    EXPECT_EQ(AngleFromBar(50000, 40000).angle, 180.0f);
}

TEST(CorrectionSteps, GainsKeepTheirLimitsEachInItsDirection)
{
    EXPECT_EQ(RaisedGain(250, 10), 255);
    EXPECT_EQ(RaisedGain(0, 10), 10);
    EXPECT_EQ(RaisedGain(-3, 10), 7);
    EXPECT_EQ(LoweredGain(-250, 10), -255);
    EXPECT_EQ(LoweredGain(3, 10), -7);
    // A gain beyond the range from elsewhere is limited only on its side.
    EXPECT_EQ(LoweredGain(300, 10), 290);
    EXPECT_EQ(RaisedGain(-300, 10), -290);
    EXPECT_EQ(RaisedGain(INT_MAX, 10), 255);
    EXPECT_EQ(LoweredGain(INT_MIN, 10), -255);

    EXPECT_EQ(GainFromBar(0, 128), -64);
    EXPECT_EQ(GainFromBar(128, 128), 64);
    EXPECT_EQ(GainFromBar(600, 128), 255);
    EXPECT_EQ(CentredBarValue(0, 400), -200);
    EXPECT_EQ(CentredBarValue(150, 200), 50);
}

TEST(CorrectionSteps, ZoomTextMustBeAFiniteNumberAbove0)
{
    for (const char* refused : {"0", "-1", "nan", "inf", "1e999", "1e-50", "", "1,5", " 1", "abc"}) {
        float zoom = 1.25f;
        EXPECT_FALSE(ParseZoomText(refused, zoom)) << refused;
        EXPECT_EQ(zoom, 1.25f) << refused;
    }
    float zoom = 0;
    EXPECT_TRUE(ParseZoomText("1e9", zoom));
    EXPECT_EQ(zoom, 1e9f);
    EXPECT_TRUE(ParseZoomText("0.00001", zoom));
    EXPECT_EQ(zoom, 0.00001f);
    EXPECT_TRUE(ParseZoomText("1.01000", zoom));
    EXPECT_EQ(zoom, 1.01f);
}
