// Which picture the skin draws at a DPI and how it stretches it, and how the 2x picture's
// resource text is made from the 1x one's.
#include "skin/scaled_picture_choice.h"

#include <gtest/gtest.h>

namespace nestora::skin {
namespace {

testing::AssertionResult Is(PictureScaling got, bool twoX, bool halftone) {
    if (got.twoX == twoX && got.halftone == halftone)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "twoX " << got.twoX << ", halftone " << got.halftone;
}

TEST(ScaledPictureChoice, At96TheOneXPictureIsDrawnAsItIsEvenWhenATwoXExists) {
    EXPECT_TRUE(Is(ChoosePictureScaling(96, true), false, false));
    EXPECT_TRUE(Is(ChoosePictureScaling(96, false), false, false));
    EXPECT_TRUE(Is(ChoosePictureScaling(0, true), false, false));
}

TEST(ScaledPictureChoice, BetweenOneAndTwoTheTwoXPictureIsReducedWithHalftone) {
    for (int dpi : {97, 120, 144, 168, 191})
        EXPECT_TRUE(Is(ChoosePictureScaling(dpi, true), true, true)) << dpi;
}

TEST(ScaledPictureChoice, AtTwoAndAboveTheTwoXPictureIsCopiedOrEnlargedWithHardEdges) {
    for (int dpi : {192, 240, 288})
        EXPECT_TRUE(Is(ChoosePictureScaling(dpi, true), true, false)) << dpi;
}

TEST(ScaledPictureChoice, WithoutATwoXPictureTheOneXIsEnlargedOrReduced) {
    for (int dpi : {120, 144, 192, 288})
        EXPECT_TRUE(Is(ChoosePictureScaling(dpi, false), false, false)) << dpi;
    EXPECT_TRUE(Is(ChoosePictureScaling(72, true), false, true));
}

TEST(ScaledPictureChoice, TheTwoXTextKeepsTheCellOfTheStrip) {
    EXPECT_EQ(TwoXPictureRef(L"MACOS_TITLEBTN[13/18]"), L"MACOS_TITLEBTN_2X[13/18]");
    EXPECT_EQ(TwoXPictureRef(L"MACOS_TITLE_LEFT"), L"MACOS_TITLE_LEFT_2X");
    EXPECT_EQ(TwoXPictureRef(L" MACOS_TITLEBTN[ 4 / 18 ] "), L"MACOS_TITLEBTN_2X[4/18]");
    EXPECT_EQ(TwoXPictureRef(L"#120"), std::nullopt);
    EXPECT_EQ(TwoXPictureRef(L"MACOS_TITLEBTN[0/18]"), std::nullopt);
    EXPECT_EQ(TwoXPictureRef(L""), std::nullopt);
}

} // namespace
} // namespace nestora::skin
