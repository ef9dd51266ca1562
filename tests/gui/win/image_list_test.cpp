// TImageList: images from strips, masks and icons drawn pixel by pixel, the greyed look of
// disabled images, change links, resource lists and handles that do not leak.
#include "gui/win/image_list.h"

#include "gui/core/class_info.h"
#include "gui/core/exceptions.h"
#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/icon.h"

#include "graphics_test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::gui;
using nestora::gui::testing::CountColor;
using nestora::gui::testing::HalfRedIcon;
using nestora::gui::testing::MakeFilled;
using nestora::gui::testing::PixelOf;

// A strip of three 16 by 16 images on a magenta background: a red, a blue and a white
// square of 8 by 8 in the middle of each.
void MakeStrip(TBitmap& strip) {
    MakeFilled(strip, 48, 16, clFuchsia);
    const TColor colors[] = {clRed, clBlue, clWhite};
    for (int i = 0; i < 3; ++i) {
        strip.Canvas().Brush().SetColor(colors[i]);
        strip.Canvas().FillRect(MakeRect(i * 16 + 4, 4, i * 16 + 12, 12));
    }
}

bool IsGrey(TColor c) {
    return RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c);
}

class ImageListTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeStrip(strip);
        MakeFilled(target, 64, 32, clGreen);
    }
    ComponentPtr<TImageList> list = MakeComponent<TImageList>();
    TBitmap strip;
    TBitmap target;
};

TEST_F(ImageListTest, AStripBecomesOneImagePerWidthAndTheMaskColourIsLeftOut) {
    EXPECT_EQ(list->Width(), 16);
    EXPECT_EQ(list->Height(), 16);
    EXPECT_EQ(list->AddMasked(strip, clFuchsia), 0);
    EXPECT_EQ(list->Count(), 3);
    for (int i = 0; i < 3; ++i)
        list->Draw(target.Canvas(), i * 20, 0, i);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 64, 32), clFuchsia), 0);
    EXPECT_EQ(CountColor(target, MakeRect(4, 4, 12, 12), clRed), 64);
    EXPECT_EQ(CountColor(target, MakeRect(24, 4, 32, 12), clBlue), 64);
    EXPECT_EQ(CountColor(target, MakeRect(44, 4, 52, 12), clWhite), 64);
    EXPECT_EQ(PixelOf(target, 0, 0), clGreen);
    // Out of range: nothing drawn, nothing thrown.
    list->Draw(target.Canvas(), 0, 16, 3);
    list->Draw(target.Canvas(), 0, 16, -1);
    EXPECT_EQ(CountColor(target, MakeRect(0, 16, 64, 32), clGreen), 64 * 16);
}

TEST_F(ImageListTest, DisabledImagesAreGreyAndVisiblyDifferent) {
    list->AddMasked(strip, clFuchsia);
    list->Draw(target.Canvas(), 0, 0, 0, true);
    list->Draw(target.Canvas(), 20, 0, 0, false);
    int differing = 0, grey = 0;
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x) {
            const TColor enabled = PixelOf(target, x, y);
            const TColor disabled = PixelOf(target, 20 + x, y);
            differing += enabled != disabled;
            grey += IsGrey(disabled);
        }
    EXPECT_EQ(differing, 64);
    EXPECT_EQ(grey, 64);
    // Transparency is the same in both.
    EXPECT_EQ(PixelOf(target, 20, 0), clGreen);
    EXPECT_EQ(PixelOf(target, 35, 15), clGreen);
}

TEST_F(ImageListTest, AnExplicitMaskMakesItsWhitePixelsTransparent) {
    TBitmap image;
    MakeFilled(image, 16, 16, clRed);
    TBitmap mask;
    MakeFilled(mask, 16, 16, clBlack);
    mask.Canvas().Brush().SetColor(clWhite);
    mask.Canvas().FillRect(MakeRect(0, 0, 16, 8));
    list->Add(image, &mask);
    list->Draw(target.Canvas(), 0, 0, 0);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 16, 8), clGreen), 128);
    EXPECT_EQ(CountColor(target, MakeRect(0, 8, 16, 16), clRed), 128);
    // Without a mask the whole image is opaque.
    list->Add(image);
    list->Draw(target.Canvas(), 20, 0, 1);
    EXPECT_EQ(CountColor(target, MakeRect(20, 0, 36, 16), clRed), 256);
    EXPECT_THROW(list->Add(TBitmap()), EInvalidGraphic);
}

TEST_F(ImageListTest, IconsGoInThroughTheirMaskAndComeOutAsIcons) {
    TIcon icon;
    icon.SetHandle(HalfRedIcon());
    EXPECT_EQ(list->AddIcon(icon), 0);
    list->Draw(target.Canvas(), 0, 0, 0);
    EXPECT_EQ(CountColor(target, MakeRect(0, 0, 8, 16), clRed), 128);
    EXPECT_EQ(CountColor(target, MakeRect(8, 0, 16, 16), clGreen), 128);

    TIcon back;
    list->GetIcon(0, back);
    ASSERT_FALSE(back.Empty());
    EXPECT_EQ(back.Width(), 16);
    target.Canvas().Draw(20, 0, back);
    EXPECT_EQ(CountColor(target, MakeRect(20, 0, 28, 16), clRed), 128);
    EXPECT_EQ(CountColor(target, MakeRect(28, 0, 36, 16), clGreen), 128);
    list->GetIcon(5, back);
    EXPECT_TRUE(back.Empty());
    EXPECT_THROW(list->AddIcon(TIcon()), EInvalidGraphic);
}

TEST_F(ImageListTest, GetBitmapGivesThePixelsAndTheMask) {
    list->AddMasked(strip, clFuchsia);
    TBitmap image, mask;
    list->GetBitmap(1, image, &mask);
    EXPECT_EQ(image.Width(), 16);
    EXPECT_EQ(PixelOf(image, 8, 8), clBlue);
    EXPECT_EQ(PixelOf(image, 0, 0), clBlack); // transparent pixels are black
    EXPECT_EQ(PixelOf(mask, 0, 0), clWhite);
    EXPECT_EQ(PixelOf(mask, 8, 8), clBlack);
    EXPECT_THROW(list->GetBitmap(3, image), EInvalidGraphic);
}

TEST_F(ImageListTest, ChangeLinksHearOfEveryChangeUntilTheyGo) {
    TImageList* seen = nullptr;
    int first = 0, second = 0, own = 0;
    TChangeLink a;
    a.SetOnChange([&](TObject* sender) {
        seen = dynamic_cast<TImageList*>(sender);
        ++first;
    });
    list->RegisterChanges(a);
    EXPECT_EQ(a.Sender(), list.get());
    list->SetOnChange([&](TObject*) { ++own; });
    {
        TChangeLink b;
        b.SetOnChange([&](TObject*) { ++second; });
        list->RegisterChanges(b);
        list->AddMasked(strip, clFuchsia);
        EXPECT_EQ(first, 1);
        EXPECT_EQ(second, 1);
        EXPECT_EQ(own, 1);
        EXPECT_EQ(seen, list.get());
    } // b unregisters itself here
    list->Delete(0);
    list->Clear();
    list->Clear(); // nothing to clear: no news
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, 1);
    list->SetWidth(24);
    EXPECT_EQ(first, 4);
    list->UnRegisterChanges(a);
    EXPECT_EQ(a.Sender(), nullptr);
    list->SetWidth(16);
    EXPECT_EQ(first, 4);

    // A list that goes first leaves its links without a sender, safe to destroy later.
    list->RegisterChanges(a);
    list.reset();
    EXPECT_EQ(a.Sender(), nullptr);
}

TEST_F(ImageListTest, ChangingTheSizeRemovesTheImages) {
    list->AddMasked(strip, clFuchsia);
    list->SetHeight(20);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->Height(), 20);
    EXPECT_THROW(list->SetWidth(0), EInvalidGraphic);
    EXPECT_THROW(list->SetHeight(1000), EInvalidGraphic);
    list->AddMasked(strip, clFuchsia);
    EXPECT_EQ(list->Count(), 3);
    int cx = 0, cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(list->Handle(), &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 20);
    EXPECT_EQ(::ImageList_GetImageCount(list->Handle()), 3);
}

TEST_F(ImageListTest, ResourceListsLoadAllOrNothing) {
    HMODULE comctl = nestora::gui::testing::SystemModule(L"comctl32.dll");
    TBitmap reference;
    reference.LoadFromResourceName(comctl, L"#120");
    const int fromStrip = reference.Width() / 16;
    ASSERT_GE(fromStrip, 2);
    list->LoadBitmaps(comctl, {L"#120", L"#120[2/" + std::to_wstring(fromStrip) + L"]"});
    EXPECT_EQ(list->Count(), fromStrip + 1);
    EXPECT_EQ(list->Bitmaps().size(), 2u);

    try {
        list->LoadBitmaps(comctl, {L"#120", L"NO_SUCH_IMAGE"});
        FAIL() << "a missing resource must raise";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource NO_SUCH_IMAGE not found");
    }
    EXPECT_EQ(list->Count(), fromStrip + 1);

    // As a window description sets it: by the published names.
    SetPropertyValue(*list, "Width", PropertyValue(std::int64_t{16}));
    EXPECT_THROW(
        SetPropertyValue(*list, "Bitmaps", PropertyValue(std::vector<std::wstring>{L"NOT_THERE"})),
        EResNotFound);
    SetPropertyValue(*list, "Bitmaps", PropertyValue(std::vector<std::wstring>{}));
    EXPECT_EQ(list->Count(), 0);
    EXPECT_NE(TImageList::StaticClassInfo().GetFactory(), nullptr);
}

TEST_F(ImageListTest, RepeatedDrawingAndRebuildingLeaksNothing) {
    target.Canvas().Handle();
    const nestora::gui::testing::LiveHandles before;
    const long listsBefore = HandleCounters::Live(HandleKind::ImageList);
    {
        auto other = MakeComponent<TImageList>();
        for (int i = 0; i < 200; ++i) {
            other->AddMasked(strip, clFuchsia);
            other->Draw(target.Canvas(), 0, 0, i % 3, i % 2 == 0);
            other->Delete(0);
            other->Delete(0);
            other->Delete(0);
            TIcon icon;
            other->GetIcon(0, icon);
        }
        other->AddMasked(strip, clFuchsia);
        other->Draw(target.Canvas(), 0, 0, 0, true);
        other->Draw(target.Canvas(), 0, 0, 0, false);
        EXPECT_EQ(HandleCounters::Live(HandleKind::ImageList), listsBefore + 2);
    }
    const nestora::gui::testing::LiveHandles after;
    EXPECT_EQ(HandleCounters::Live(HandleKind::ImageList), listsBefore);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

} // namespace
