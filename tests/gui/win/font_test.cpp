// TFont: size and height, styles, the HFONT made on demand and freed only after OnChange,
// taking over a handle, copying, and published properties as a description sets them.
#include "gui/win/font.h"

#include "gui/core/class_info.h"
#include "gui/core/exceptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace nestora::gui;

TEST(Font, StartsAsTheDesignedDefault) {
    TFont font;
    EXPECT_EQ(font.Name(), L"MS Sans Serif");
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Style(), 0u);
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
    EXPECT_FALSE(font.HandleAllocated());
}

TEST(Font, SizeInPointsAndHeightInPixelsFollowEachOther) {
    TFont font;
    font.SetPixelsPerInch(96);
    font.SetSize(8);
    EXPECT_EQ(font.Height(), -11);
    font.SetHeight(-16);
    EXPECT_EQ(font.Size(), 12);
    font.SetPixelsPerInch(120);
    EXPECT_EQ(font.Size(), 10); // 16 * 72 / 120 = 9.6, rounded
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -15);
    // A positive height is a cell height; Size then reads negative, as it always has.
    font.SetHeight(20);
    EXPECT_LT(font.Size(), 0);
    EXPECT_THROW(font.SetPixelsPerInch(0), EConvertError);
}

TEST(Font, TheHandleIsMadeFromTheDescription) {
    TFont font;
    font.SetName(L"Tahoma");
    font.SetHeight(-13);
    font.SetStyle(fsBold | fsItalic | fsUnderline);
    font.SetCharset(RUSSIAN_CHARSET);
    font.SetPitch(TFontPitch::fpFixed);
    LOGFONTW lf{};
    ASSERT_EQ(::GetObjectW(font.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    EXPECT_EQ(lf.lfHeight, -13);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_FALSE(lf.lfStrikeOut);
    EXPECT_EQ(lf.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(lf.lfPitchAndFamily & 3, FIXED_PITCH);
    EXPECT_THROW(font.SetCharset(256), EConvertError);
    EXPECT_EQ(font.Charset(), RUSSIAN_CHARSET);
}

TEST(Font, OnChangeRunsForRealChangesWhileTheOldHandleStillExists) {
    TFont font;
    const HFONT first = font.Handle();
    std::vector<DWORD> typeOfFirstDuringChange;
    int changes = 0;
    font.SetOnChange([&](TObject* sender) {
        EXPECT_EQ(sender, &font);
        ++changes;
        typeOfFirstDuringChange.push_back(::GetObjectType(first));
    });
    font.SetName(font.Name());
    font.SetHeight(font.Height());
    font.SetStyle(font.Style());
    EXPECT_EQ(changes, 0);

    font.SetColor(clRed); // colour only: the HFONT still fits
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(font.Handle(), first);

    font.SetStyle(fsBold);
    EXPECT_EQ(changes, 2);
    ASSERT_EQ(typeOfFirstDuringChange.size(), 2u);
    EXPECT_EQ(typeOfFirstDuringChange[1], static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(::GetObjectType(first), 0u); // freed after the handler
    EXPECT_FALSE(font.HandleAllocated());
}

TEST(Font, LongNamesAreCutToWhatWindowsKeeps) {
    TFont font;
    font.SetName(std::wstring(40, L'x'));
    EXPECT_EQ(font.Name().size(), 31u);
    LOGFONTW lf{};
    ::GetObjectW(font.Handle(), sizeof lf, &lf);
    EXPECT_EQ(std::wstring(lf.lfFaceName), std::wstring(31, L'x'));
}

TEST(Font, TakesOverAHandleAndDescribesIt) {
    LOGFONTW lf{};
    lf.lfHeight = -17;
    lf.lfWeight = FW_BOLD;
    lf.lfStrikeOut = TRUE;
    lf.lfCharSet = GREEK_CHARSET;
    wcscpy(lf.lfFaceName, L"Courier New");
    UniqueFont made(::CreateFontIndirectW(&lf));
    const HFONT raw = made.get();
    const long fontsBefore = HandleCounters::Live(HandleKind::Font);

    TFont font;
    int changes = 0;
    font.SetOnChange([&](TObject*) { ++changes; });
    font.SetHandle(std::move(made));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(font.Handle(), raw);
    EXPECT_EQ(font.Name(), L"Courier New");
    EXPECT_EQ(font.Height(), -17);
    EXPECT_EQ(font.Style(), fsBold | fsStrikeOut);
    EXPECT_EQ(font.Charset(), GREEK_CHARSET);
    EXPECT_EQ(HandleCounters::Live(HandleKind::Font), fontsBefore + 1);

    // A change frees the taken-over handle and makes a new one.
    font.SetHeight(-18);
    EXPECT_EQ(::GetObjectType(raw), 0u);
    EXPECT_EQ(HandleCounters::Live(HandleKind::Font), fontsBefore);
}

TEST(Font, TheSystemMenuFontCanBeTakenOver) {
    UniqueFont menuFont = CreateSystemMenuFont();
    ASSERT_TRUE(menuFont);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    TFont font;
    font.SetHandle(std::move(menuFont));
    EXPECT_EQ(font.Name(), std::wstring(metrics.lfMenuFont.lfFaceName));
    EXPECT_EQ(font.Height(), metrics.lfMenuFont.lfHeight);
}

TEST(Font, AssignCopiesTheDescriptionNeverTheHandle) {
    TFont source;
    source.SetName(L"Arial");
    source.SetHeight(-14);
    source.SetStyle(fsItalic);
    source.SetColor(clRed);
    TFont copy;
    int changes = 0;
    copy.SetOnChange([&](TObject*) { ++changes; });
    copy.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(copy.SameAs(source));
    EXPECT_NE(copy.Handle(), source.Handle());
    copy.Assign(source);
    EXPECT_EQ(changes, 1);
    copy.SetHeight(-20);
    EXPECT_EQ(source.Height(), -14);
}

TEST(Font, PublishedPropertiesAsADescriptionSetsThem) {
    TFont font;
    SetPropertyValue(font, "Name", PropertyValue(std::wstring(L"Tahoma")));
    SetPropertyValue(font, "Height", PropertyValue(std::int64_t{-11}));
    const auto* style = font.GetClassInfo().FindProperty("Style");
    ASSERT_NE(style, nullptr);
    ASSERT_EQ(style->kind, PropertyKind::Set);
    const int bold = *style->enumInfo->Find("fsBold");
    SetPropertyValue(font, "Style", PropertyValue(std::int64_t{1} << bold));
    SetPropertyValue(font, "Color", PropertyValue(std::int64_t{clWhite}));
    EXPECT_EQ(font.Name(), L"Tahoma");
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Style(), fsBold);
    EXPECT_EQ(font.Color(), clWhite);
    EXPECT_THROW(SetPropertyValue(font, "Height", PropertyValue(std::wstring(L"big"))),
                 EDescriptionError);
    const auto* pitch = font.GetClassInfo().FindProperty("Pitch");
    ASSERT_NE(pitch, nullptr);
    EXPECT_EQ(pitch->enumInfo->NameOf(2), "fpFixed");
}

} // namespace
