// The text of menu shortcuts: the fixed key names, the modifier order, the layout seam for
// other keys, and reading texts back.
#include "gui/core/shortcut_text.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::gui;

// A stand-in keyboard layout that names two OEM keys and nothing else.
std::wstring LayoutNames(unsigned key) {
    if (key == 0xC0)
        return L"`";
    if (key == 0xBA)
        return L";";
    return {};
}

TEST(ShortCutText, FixedNamesOfTheTable) {
    const KeyNameSource none;
    EXPECT_EQ(ShortCutToText(0x08, none), L"BkSp");
    EXPECT_EQ(ShortCutToText(0x09, none), L"Tab");
    EXPECT_EQ(ShortCutToText(0x0D, none), L"Enter");
    EXPECT_EQ(ShortCutToText(0x1B, none), L"Esc");
    EXPECT_EQ(ShortCutToText(0x20, none), L"Space");
    EXPECT_EQ(ShortCutToText(0x21, none), L"PgUp");
    EXPECT_EQ(ShortCutToText(0x22, none), L"PgDn");
    EXPECT_EQ(ShortCutToText(0x23, none), L"End");
    EXPECT_EQ(ShortCutToText(0x24, none), L"Home");
    EXPECT_EQ(ShortCutToText(0x25, none), L"Left");
    EXPECT_EQ(ShortCutToText(0x26, none), L"Up");
    EXPECT_EQ(ShortCutToText(0x27, none), L"Right");
    EXPECT_EQ(ShortCutToText(0x28, none), L"Down");
    EXPECT_EQ(ShortCutToText(0x2D, none), L"Ins");
    EXPECT_EQ(ShortCutToText(0x2E, none), L"Del");
    EXPECT_EQ(ShortCutToText(0x30, none), L"0");
    EXPECT_EQ(ShortCutToText(0x39, none), L"9");
    EXPECT_EQ(ShortCutToText(0x41, none), L"A");
    EXPECT_EQ(ShortCutToText(0x5A, none), L"Z");
    EXPECT_EQ(ShortCutToText(0x60, none), L"0");
    EXPECT_EQ(ShortCutToText(0x69, none), L"9");
    EXPECT_EQ(ShortCutToText(0x70, none), L"F1");
    EXPECT_EQ(ShortCutToText(0x7B, none), L"F12");
    EXPECT_EQ(ShortCutToText(0x87, none), L"F24");
}

TEST(ShortCutText, GapsOfTheTableHaveNoFixedName) {
    for (unsigned key : {0x00u, 0x01u, 0x10u, 0x11u, 0x29u, 0x2Cu, 0x2Fu, 0x3Au, 0x40u, 0x5Bu,
                         0x6Au, 0x88u, 0xC0u, 0xFFu})
        EXPECT_EQ(FixedKeyName(key), L"") << key;
}

TEST(ShortCutText, ModifiersComeInTheOrderShiftCtrlAlt) {
    const KeyNameSource none;
    EXPECT_EQ(ShortCutToText(scCtrl | 0x53, none), L"Ctrl+S");
    EXPECT_EQ(ShortCutToText(scShift | 0x2E, none), L"Shift+Del");
    EXPECT_EQ(ShortCutToText(scAlt | 0x73, none), L"Alt+F4");
    EXPECT_EQ(ShortCutToText(scAlt | scCtrl | scShift | 0x41, none), L"Shift+Ctrl+Alt+A");
    // Bits that are no modifier are ignored.
    EXPECT_EQ(ShortCutToText(0x1000 | 0x41, none), L"A");
}

TEST(ShortCutText, OtherKeysAreNamedByTheLayoutOrNotAtAll) {
    EXPECT_EQ(ShortCutToText(scCtrl | 0xC0, LayoutNames), L"Ctrl+`");
    EXPECT_EQ(ShortCutToText(scCtrl | 0xC0, KeyNameSource()), L"");
    // A key nobody can name gives no text at all, not a lone "Ctrl+".
    EXPECT_EQ(ShortCutToText(scCtrl | 0xDE, LayoutNames), L"");
    EXPECT_EQ(ShortCutToText(scCtrl, LayoutNames), L"");
    EXPECT_EQ(ShortCutToText(0, LayoutNames), L"");
    // The table wins over the layout for the keys it names.
    const KeyNameSource liar = [](unsigned) { return std::wstring(L"?"); };
    EXPECT_EQ(ShortCutToText(0x0D, liar), L"Enter");
}

TEST(ShortCutText, TextReadsBackToTheSameShortcut) {
    for (std::uint16_t sc :
         {std::uint16_t(scCtrl | 0x53), std::uint16_t(scShift | scAlt | 0x70), std::uint16_t(0x2E),
          std::uint16_t(scCtrl | 0xC0), std::uint16_t(scShift | scCtrl | scAlt | 0x5A)})
        EXPECT_EQ(TextToShortCut(ShortCutToText(sc, LayoutNames), LayoutNames), sc) << sc;
}

TEST(ShortCutText, ReadingIsLenientAboutCaseAndOrderButNotAboutNames) {
    EXPECT_EQ(TextToShortCut(L"ctrl+s", LayoutNames), scCtrl | 0x53);
    EXPECT_EQ(TextToShortCut(L"Alt+Ctrl+Del", LayoutNames), scCtrl | scAlt | 0x2E);
    EXPECT_EQ(TextToShortCut(L"F13", LayoutNames), 0x7C);
    // Digits read back as the main row's keys, the first with that name.
    EXPECT_EQ(TextToShortCut(L"Ctrl+5", LayoutNames), scCtrl | 0x35);
    EXPECT_EQ(TextToShortCut(L"", LayoutNames), 0);
    EXPECT_EQ(TextToShortCut(L"Ctrl+", LayoutNames), 0);
    EXPECT_EQ(TextToShortCut(L"Ctrl+Nothing", LayoutNames), 0);
    EXPECT_EQ(TextToShortCut(L"Hyper+A", LayoutNames), 0);
    EXPECT_EQ(TextToShortCut(L"F25", LayoutNames), 0);
}

} // namespace
