// Picture resource texts of window descriptions: whole pictures, cells of strips, and
// refusal of texts that name nothing sensible.
#include "gui/core/picture_ref.h"

#include "gui/core/exceptions.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::gui;

TEST(PictureRef, WholePicturesAndCells) {
    const PictureRef whole = ParsePictureRef(L"MACOS_TITLE_LEFT");
    EXPECT_EQ(whole.name, L"MACOS_TITLE_LEFT");
    EXPECT_FALSE(whole.IsCell());

    const PictureRef cell = ParsePictureRef(L"  MACOS_TITLEBTN[ 13 / 18 ] ");
    EXPECT_EQ(cell.name, L"MACOS_TITLEBTN");
    EXPECT_EQ(cell.cell, 13);
    EXPECT_EQ(cell.cellCount, 18);
    EXPECT_EQ(PictureRefText(cell), L"MACOS_TITLEBTN[13/18]");
    EXPECT_EQ(PictureRefText(whole), L"MACOS_TITLE_LEFT");
    EXPECT_EQ(ParsePictureRef(L"#120").name, L"#120");
}

TEST(PictureRef, MalformedTextsAreRefused) {
    for (const wchar_t* bad :
         {L"", L"   ", L"[1/2]", L"A[0/2]", L"A[3/2]", L"A[1/0]", L"A[1/5000]", L"A[1-2]", L"A[1/2",
          L"A[1/2]x", L"A[x/2]", L"A[-1/2]", L"TWO WORDS", L"A[1/2][1/2]", L"A]"}) {
        EXPECT_THROW(ParsePictureRef(bad), EConvertError) << static_cast<const void*>(bad);
    }
}

TEST(PictureRef, CellsOfAStripAsTheTitleBarCutsThem) {
    // 306 pixels in 18 cells: 17 each; cell 18 is pixels 289..305, cell 1 is 0..16.
    EXPECT_EQ(CellRect(TSize{306, 17}, 18, 18), MakeRect(289, 0, 306, 17));
    EXPECT_EQ(CellRect(TSize{306, 17}, 1, 18), MakeRect(0, 0, 17, 17));
    // Width not divisible: the remainder at the right is never part of a cell.
    EXPECT_EQ(CellRect(TSize{10, 4}, 3, 3), MakeRect(6, 0, 9, 4));
    EXPECT_TRUE(CellRect(TSize{2, 4}, 1, 3).IsEmpty());
    EXPECT_TRUE(CellRect(TSize{10, 4}, 4, 3).IsEmpty());
    EXPECT_TRUE(CellRect(TSize{10, 4}, 0, 3).IsEmpty());
    EXPECT_TRUE(CellRect(TSize{10, 0}, 1, 1).IsEmpty());
}

} // namespace
