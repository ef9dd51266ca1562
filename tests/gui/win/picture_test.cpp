// TPicture: copies never share, the graphic's changes reach OnChange, and resource texts of
// window descriptions load whole pictures and cells of strips.
#include "gui/win/picture.h"

#include "gui/core/exceptions.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/icon.h"

#include "graphics_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::gui;
using nestora::gui::testing::MakeFilled;
using nestora::gui::testing::PixelOf;

TEST(Picture, HoldsACopyOfWhatItIsGiven) {
    TBitmap bitmap;
    MakeFilled(bitmap, 3, 3, clRed);
    TPicture picture;
    EXPECT_TRUE(picture.Empty());
    picture.SetGraphic(&bitmap);
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_NE(picture.Graphic(), &bitmap);
    bitmap.Canvas().SetPixel(0, 0, clBlue);
    EXPECT_EQ(PixelOf(picture.Bitmap(), 0, 0), clRed);
    EXPECT_EQ(picture.Width(), 3);

    TPicture other;
    other.Assign(picture);
    EXPECT_NE(other.Graphic(), picture.Graphic());
    other.Bitmap().Canvas().SetPixel(1, 1, clLime);
    EXPECT_EQ(PixelOf(picture.Bitmap(), 1, 1), clRed);
    other.Assign(bitmap);
    EXPECT_EQ(PixelOf(other.Bitmap(), 0, 0), clBlue);
    picture.SetGraphic(nullptr);
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
}

TEST(Picture, ChangesOfTheGraphicReachOnChange) {
    TPicture picture;
    int changes = 0;
    picture.SetOnChange([&](TObject* sender) {
        EXPECT_EQ(sender, &picture);
        ++changes;
    });
    picture.Bitmap().SetSize(4, 4);
    EXPECT_GE(changes, 2); // the new bitmap, then its size
    const int before = changes;
    picture.Bitmap().SetTransparent(true);
    EXPECT_EQ(changes, before + 1);
    // Asking for an icon replaces the bitmap.
    picture.Icon();
    EXPECT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
    EXPECT_EQ(changes, before + 2);
}

TEST(Picture, AMissingResourceIsNamedInTheError) {
    TPicture picture;
    for (const wchar_t* desc : {L"MACOS_TITLEBTN_MISSING", L"MACOS_TITLEBTN_MISSING[13/18]"}) {
        try {
            picture.LoadFromResourceRef(desc);
            FAIL() << "a missing resource must raise";
        } catch (const EResNotFound& e) {
            EXPECT_EQ(e.Message(), L"Resource MACOS_TITLEBTN_MISSING not found");
        }
    }
    EXPECT_THROW(picture.LoadFromResourceRef(L"BROKEN[1/"), EConvertError);
}

TEST(Picture, CellsAreCutFromTheStrip) {
    HMODULE comctl = nestora::gui::testing::SystemModule(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    TBitmap strip;
    strip.LoadFromResourceName(comctl, L"#120");
    const int cells = strip.Width() / 16;
    ASSERT_GE(cells, 3);
    TPicture picture;
    picture.LoadFromResourceRef(comctl, L"#120[3/" + std::to_wstring(cells) + L"]");
    TBitmap& cut = picture.Bitmap();
    ASSERT_EQ(cut.Width(), 16);
    ASSERT_EQ(cut.Height(), 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(PixelOf(cut, x, y), PixelOf(strip, 32 + x, y)) << x << "," << y;
    picture.LoadFromResourceRef(comctl, L"#120");
    EXPECT_EQ(picture.Width(), strip.Width());
    // More cells than pixels: refused, not a zero-sized picture.
    EXPECT_THROW(picture.LoadFromResourceRef(comctl, L"#120[1/4096]"), EConvertError);
}

TEST(Picture, AnIconGroupOfTheNameLoadsAsAnIcon) {
    TPicture picture;
    picture.LoadFromResourceRef(nestora::gui::testing::SystemModule(L"user32.dll"), L"#32512");
    EXPECT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
    EXPECT_GT(picture.Width(), 0);
}

} // namespace
