// TBitmap: sizes and pixel formats, BMP files in and out (malformed ones refused), resources
// by name, transparency drawn pixel by pixel, copies that never share, and handles that
// can be used elsewhere.
#include "gui/win/bitmap.h"

#include "gui/core/exceptions.h"
#include "gui/core/stream.h"
#include "gui/win/canvas.h"

#include "graphics_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace nestora::gui;
using nestora::gui::testing::CountColor;
using nestora::gui::testing::MakeFilled;
using nestora::gui::testing::PixelOf;

TEST(Bitmap, ResizingKeepsWhatStillFits) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    MakeFilled(bitmap, 4, 4, clRed);
    bitmap.SetSize(6, 2);
    EXPECT_EQ(bitmap.Width(), 6);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(PixelOf(bitmap, 3, 1), clRed);
    EXPECT_EQ(PixelOf(bitmap, 5, 1), clBlack);
    bitmap.SetSize(0, 5);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Handle(), nullptr);
    EXPECT_THROW(bitmap.SetSize(-1, 3), EInvalidGraphic);
    EXPECT_THROW(bitmap.SetSize(kMaxBitmapSide + 1, 3), EInvalidGraphic);
}

TEST(Bitmap, PixelFormatsConvertWithoutChangingColours) {
    TBitmap bitmap;
    MakeFilled(bitmap, 5, 3, RGBColor(1, 2, 3));
    bitmap.Canvas().SetPixel(4, 2, RGBColor(200, 100, 50));
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(bitmap.RowBytes(), 16); // 15 bytes padded to a whole word
    EXPECT_EQ(PixelOf(bitmap, 0, 0), RGBColor(1, 2, 3));
    EXPECT_EQ(PixelOf(bitmap, 4, 2), RGBColor(200, 100, 50));
    // GDI draws on the 24-bit DIB as well.
    bitmap.Canvas().SetPixel(1, 1, clLime);
    EXPECT_EQ(PixelOf(bitmap, 1, 1), clLime);
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    EXPECT_EQ(PixelOf(bitmap, 4, 2), RGBColor(200, 100, 50));
    EXPECT_EQ(PixelOf(bitmap, 1, 1), clLime);
}

TEST(Bitmap, FilesGoOutAndComeBackPixelForPixel) {
    TBitmap bitmap;
    MakeFilled(bitmap, 7, 5, clNavy);
    bitmap.Canvas().SetPixel(0, 0, clYellow);
    bitmap.Canvas().SetPixel(6, 4, clRed);
    for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        bitmap.SetPixelFormat(format);
        nestora::gui::TBytesStream file;
        bitmap.SaveToStream(file);
        EXPECT_EQ(file.Bytes(), bitmap.SaveToMemory());
        file.Seek(0);
        TBitmap back;
        back.LoadFromStream(file);
        EXPECT_EQ(back.Width(), 7);
        EXPECT_EQ(back.Height(), 5);
        EXPECT_EQ(back.PixelFormat(), format);
        EXPECT_EQ(PixelOf(back, 0, 0), clYellow);
        EXPECT_EQ(PixelOf(back, 6, 4), clRed);
        EXPECT_EQ(CountColor(back, MakeRect(0, 0, 7, 5), clNavy), 33);
    }
}

TEST(Bitmap, MalformedFilesAreRefusedAndTheBitmapKeepsItsPixels) {
    TBitmap bitmap;
    MakeFilled(bitmap, 3, 3, clRed);
    std::vector<std::uint8_t> file = bitmap.SaveToMemory();
    file.resize(file.size() / 2);
    EXPECT_THROW(bitmap.LoadFromMemory(file), EInvalidGraphic);
    const std::string text = "this is no bitmap at all";
    nestora::gui::TBytesStream garbage(std::vector<std::uint8_t>(text.begin(), text.end()));
    EXPECT_THROW(bitmap.LoadFromStream(garbage), EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(PixelOf(bitmap, 2, 2), clRed);
    EXPECT_THROW(TBitmap().SaveToMemory(), EInvalidGraphic);
}

// The program carries its pictures at their fewest bits, run-length compressed where that
// is smaller; they load with the pixels as drawn, and one whose pixels cannot be read is
// refused with its name.
TEST(Bitmap, CompactResourcesLoadAsDrawnAndADamagedOneIsNamed) {
    const HMODULE self = ::GetModuleHandleW(nullptr);
    EXPECT_TRUE(nestora::gui::HasBitmapResource(self, L"COMPACTSAMPLE"));
    EXPECT_TRUE(nestora::gui::HasBitmapResource(self, L"PLAINSAMPLE"));
    EXPECT_FALSE(nestora::gui::HasBitmapResource(self, L"NOSUCHBITMAP"));
    EXPECT_FALSE(nestora::gui::HasBitmapResource(self, L""));
    TBitmap compact;
    compact.LoadFromResourceName(self, L"COMPACTSAMPLE");
    TBitmap plain;
    plain.LoadFromResourceName(self, L"PLAINSAMPLE");
    ASSERT_EQ(compact.Width(), 16);
    ASSERT_EQ(compact.Height(), 16);
    ASSERT_EQ(plain.Width(), 16);
    ASSERT_EQ(plain.Height(), 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(PixelOf(compact, x, y), PixelOf(plain, x, y)) << x << "," << y;
    TBitmap damaged;
    try {
        damaged.LoadFromResourceName(self, L"DAMAGED");
        FAIL() << "a damaged bitmap must raise";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), L"Invalid bitmap: resource DAMAGED is damaged");
    }
    EXPECT_TRUE(damaged.Empty());
}

TEST(Bitmap, ResourcesByNameAndAMissingOneNamed) {
    TBitmap bitmap;
    try {
        bitmap.LoadFromResourceName(::GetModuleHandleW(nullptr), L"NO_SUCH_BITMAP");
        FAIL() << "a missing resource must raise";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource NO_SUCH_BITMAP not found");
    }
    // The common controls carry their tool-bar bitmaps as numbered BITMAP resources.
    HMODULE comctl = nestora::gui::testing::SystemModule(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    bitmap.LoadFromResourceName(comctl, L"#120");
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.Height(), 16);
    EXPECT_EQ(bitmap.Width() % 16, 0);
    // What GDI makes of the same resource has the same pixels.
    UniqueBitmap system(static_cast<HBITMAP>(
        ::LoadImageW(comctl, L"#120", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ASSERT_TRUE(system);
    TBitmap viaGdi;
    viaGdi.SetHandle(std::move(system));
    ASSERT_EQ(viaGdi.Width(), bitmap.Width());
    int differences = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            differences += PixelOf(viaGdi, x, y) != PixelOf(bitmap, x, y);
    EXPECT_EQ(differences, 0);
}

class TransparentDraw : public ::testing::Test {
protected:
    void SetUp() override {
        // A 4 by 4 sprite: magenta background (its bottom-left pixel), a red centre.
        MakeFilled(sprite, 4, 4, clFuchsia);
        sprite.Canvas().Brush().SetColor(clRed);
        sprite.Canvas().FillRect(MakeRect(1, 1, 3, 3));
        MakeFilled(target, 12, 12, clGreen);
    }
    TBitmap sprite;
    TBitmap target;
};

TEST_F(TransparentDraw, TheBottomLeftColourIsLeftOut) {
    EXPECT_EQ(sprite.TransparentColor(), clFuchsia);
    sprite.SetTransparent(true);
    target.Canvas().Draw(2, 2, sprite);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 12, 12), clFuchsia), 0);
    EXPECT_EQ(CountColor(target, MakeRect(3, 3, 5, 5), clRed), 4);
    EXPECT_EQ(PixelOf(target, 2, 2), clGreen);

    target.Canvas().StretchDraw(MakeRect(4, 4, 12, 12), sprite);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 12, 12), clFuchsia), 0);
    EXPECT_EQ(CountColor(target, MakeRect(6, 6, 10, 10), clRed), 16);
    EXPECT_EQ(PixelOf(target, 11, 11), clGreen);
}

TEST_F(TransparentDraw, OpaqueByDefaultAndAFixedColourOnRequest) {
    target.Canvas().Draw(0, 0, sprite);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 4, 4), clFuchsia), 12);

    sprite.SetTransparent(true);
    sprite.SetTransparentColor(clRed);
    EXPECT_EQ(sprite.TransparentMode(), TTransparentMode::tmFixed);
    target.Canvas().Draw(6, 6, sprite);
    EXPECT_EQ(CountColor(target, MakeRect(6, 6, 10, 10), clRed), 0);
    EXPECT_EQ(CountColor(target, MakeRect(6, 6, 10, 10), clFuchsia), 12);
    sprite.SetTransparentMode(TTransparentMode::tmAuto);
    EXPECT_EQ(sprite.TransparentColor(), clFuchsia);
}

TEST_F(TransparentDraw, StretchingAnOpaqueBitmapScalesEveryPixel) {
    target.Canvas().StretchDraw(MakeRect(0, 0, 8, 8), sprite);
    EXPECT_EQ(CountColor(target, MakeRect(2, 2, 6, 6), clRed), 16);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 8, 8), clFuchsia), 48);
    EXPECT_EQ(PixelOf(target, 8, 8), clGreen);
}

TEST(Bitmap, AssignCopiesPixelsAndSettingsNeverTheDib) {
    TBitmap source;
    MakeFilled(source, 3, 2, clBlue);
    source.SetTransparent(true);
    source.SetTransparentColor(clBlue);
    TBitmap copy;
    int changes = 0;
    copy.SetOnChange([&](TObject*) { ++changes; });
    copy.Assign(source);
    EXPECT_GT(changes, 0);
    EXPECT_NE(copy.Handle(), source.Handle());
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clBlue);
    copy.Canvas().SetPixel(0, 0, clRed);
    EXPECT_EQ(PixelOf(source, 0, 0), clBlue);
    EXPECT_EQ(PixelOf(copy, 0, 0), clRed);
    auto clone = copy.Clone();
    EXPECT_EQ(clone->Width(), 3);
    EXPECT_EQ(PixelOf(static_cast<TBitmap&>(*clone), 0, 0), clRed);
}

TEST(Bitmap, TheHandleCanBeSelectedElsewhereAndTheCanvasStillDraws) {
    TBitmap bitmap;
    MakeFilled(bitmap, 4, 4, clBlack);
    bitmap.Canvas().SetPixel(0, 0, clWhite); // the canvas's DC now holds the bitmap
    const UniqueMemoryDC other(::CreateCompatibleDC(nullptr));
    const HGDIOBJ previous = ::SelectObject(other.get(), bitmap.Handle());
    ASSERT_NE(previous, nullptr); // fails when the bitmap is still selected into another DC
    EXPECT_EQ(::GetPixel(other.get(), 0, 0), RGB(255, 255, 255));
    ::SelectObject(other.get(), previous);
    bitmap.Canvas().SetPixel(1, 1, clRed);
    EXPECT_EQ(PixelOf(bitmap, 1, 1), clRed);
}

TEST(Bitmap, TakesOverAnyBitmapAndGivesItsOwnAway) {
    const WindowDC screen = WindowDC::Client(nullptr);
    UniqueBitmap device(::CreateCompatibleBitmap(screen.get(), 5, 4));
    {
        const UniqueMemoryDC dc(::CreateCompatibleDC(nullptr));
        const SelectObjectScope select(dc.get(), device.get());
        const RECT all{0, 0, 5, 4};
        const UniqueBrush red(::CreateSolidBrush(RGB(255, 0, 0)));
        ::FillRect(dc.get(), &all, red.get());
    }
    const HBITMAP raw = device.get();
    TBitmap bitmap;
    bitmap.SetHandle(std::move(device));
    EXPECT_EQ(::GetObjectType(raw), 0u); // converted into our DIB and deleted
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(bitmap.Height(), 4);
    EXPECT_EQ(PixelOf(bitmap, 4, 3), clRed);

    const long before = HandleCounters::Live(HandleKind::Bitmap);
    UniqueBitmap given = bitmap.ReleaseHandle();
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(::GetObjectType(given.get()), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(HandleCounters::Live(HandleKind::Bitmap), before - 1);
}

} // namespace
