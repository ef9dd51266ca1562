#include "gui/core/dpi_scale.h"

#include <gtest/gtest.h>

#include <limits>

#ifdef _WIN32
#include <windows.h>
#endif

namespace nestora::gui {
namespace {

TEST(DpiScale, HalvesRoundAwayFromZeroOnBothSides) {
    // 150 %: 13 is 19.5 and 1 is 1.5, both up; a font height of -11 is -16.5, down.
    EXPECT_EQ(ScaleToDpi(13, 144), 20);
    EXPECT_EQ(ScaleToDpi(1, 144), 2);
    EXPECT_EQ(ScaleToDpi(-11, 144), -17);
    EXPECT_EQ(ScaleToDpi(-13, 144), -20);
    // 125 %: 17 is 21.25 (down), 21 is 26.25 (down), 26 is 32.5 (up).
    EXPECT_EQ(ScaleToDpi(17, 120), 21);
    EXPECT_EQ(ScaleToDpi(26, 120), 33);
    EXPECT_EQ(ScaleToDpi(-26, 120), -33);
}

TEST(DpiScale, DesignedWindowAtTheScalesOfTheIssue) {
    EXPECT_EQ(ScaleSizeToDpi({170, 134}, 144), (TSize{255, 201}));
    EXPECT_EQ(ScaleSizeToDpi({170, 134}, 192), (TSize{340, 268}));
    EXPECT_EQ(ScaleSizeToDpi({170, 134}, 96), (TSize{170, 134}));
}

TEST(DpiScale, BoundsScaleEachNumberSoEqualWidthsStayEqual) {
    // Scaling the right edge instead would give 194 and 193 for two 129-wide controls at
    // 20 and 23.
    const TRect a = ScaleBoundsToDpi(BoundsRect(20, 32, 129, 13), 144);
    const TRect b = ScaleBoundsToDpi(BoundsRect(23, 117, 129, 13), 144);
    EXPECT_EQ(a, BoundsRect(30, 48, 194, 20));
    EXPECT_EQ(a.Width(), b.Width());
}

TEST(DpiScale, AScaleAndItsReverseGiveTheDesignBack) {
    // A window dragged to a 150 % screen and back must come back to its designed size.
    for (int v : {1, 13, 17, 20, 21, 23, 32, 48, 72, 88, 117, 129, 133, 134, 168, 170})
        EXPECT_EQ(ScaleBetweenDpis(ScaleBetweenDpis(v, 96, 144), 144, 96), v) << v;
}

TEST(DpiScale, NothingKnownLeavesTheValueAndHugeValuesSaturate) {
    EXPECT_EQ(ScaleToDpi(17, 0), 17);
    EXPECT_EQ(ScaleBetweenDpis(17, 0, 144), 17);
    EXPECT_EQ(MulDivRound(5, 3, 0), 5);
    EXPECT_EQ(MulDivRound(std::numeric_limits<int>::max(), 2, 1), std::numeric_limits<int>::max());
    EXPECT_EQ(MulDivRound(std::numeric_limits<int>::min(), 2, 1), std::numeric_limits<int>::min());
    EXPECT_EQ(MulDivRound(7, 1, -2), -4); // a negative divisor: -3.5, away from zero
}

#ifdef _WIN32
TEST(DpiScale, RoundsAsTheSystemsMulDiv) {
    for (int dpi : {96, 120, 144, 168, 192, 240, 288})
        for (int v = -300; v <= 300; ++v)
            ASSERT_EQ(ScaleToDpi(v, dpi), ::MulDiv(v, dpi, 96)) << v << " at " << dpi;
    for (int from : {96, 120, 144, 192})
        for (int to : {96, 120, 144, 192})
            for (int v = -200; v <= 200; v += 7)
                ASSERT_EQ(ScaleBetweenDpis(v, from, to), ::MulDiv(v, to, from));
}
#endif

} // namespace
} // namespace nestora::gui
