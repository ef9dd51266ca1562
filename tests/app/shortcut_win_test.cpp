// The keyboard layout's key names as the shortcut text form uses them, on the real system.
#include "app/shortcut.h"
#include "gui/win/key_names.h"

#include "app/hotkey_registration.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace nestora::app {
namespace {

static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT);
static_assert(kModNoRepeat == MOD_NOREPEAT);

TEST(WinKeyNames, KeysWithoutAScanCodeHaveNoName) {
    EXPECT_EQ(gui::LayoutKeyName(0), L"");
    EXPECT_EQ(gui::LayoutKeyName(VK_LBUTTON), L"");
    EXPECT_EQ(gui::LayoutKeyName(0xFF), L"");
}

TEST(WinKeyNames, LetterKeysAreNamedByTheLayout) {
    EXPECT_EQ(gui::LayoutKeyName('A'), L"A");
    EXPECT_FALSE(gui::LayoutKeyName(VK_OEM_3).empty());
}

TEST(WinKeyNames, TheDefaultHotKeyReadsBack) {
    const KeyNameSource names = gui::WindowsKeyNames();
    const std::wstring text = ShortcutToText(kDefaultHotKey, names);
    ASSERT_GT(text.size(), std::wstring(L"Ctrl+").size());
    EXPECT_EQ(text.rfind(L"Ctrl+", 0), 0u) << testing::PrintToString(text);
    EXPECT_EQ(ShortcutFromText(text, names), kDefaultHotKey);
}

// Layouts give some keys the same name (Pause and Num Lock may share one), so what must
// hold is that every text read back writes out as the same text.
TEST(WinKeyNames, EveryNamedKeyReadsBackToTheSameText) {
    const KeyNameSource names = gui::WindowsKeyNames();
    int named = 0;
    for (unsigned vk = 0x01; vk <= 0xFE; ++vk) {
        const auto word = static_cast<ShortcutWord>(kCtrlFlag | vk);
        const std::wstring text = ShortcutToText(word, names);
        if (text.empty())
            continue;
        ++named;
        const ShortcutWord readBack = ShortcutFromText(text, names);
        EXPECT_EQ(readBack & 0xFF00, kCtrlFlag) << std::hex << vk;
        EXPECT_EQ(ShortcutToText(readBack, names), text) << std::hex << vk;
    }
    EXPECT_GT(named, 60); // letters, digits, F-keys and the layout's punctuation at least
}

} // namespace
} // namespace nestora::app
