// The Windows keyboard layout names the keys the fixed table leaves out.
#include "gui/win/key_names.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::gui;

TEST(KeyNames, TheLayoutNamesAnOemKeyAndTheShortcutTextUsesIt) {
    // VK_OEM_3 is the key left of "1" on most layouts (the program's default hotkey).
    const std::wstring name = LayoutKeyName(VK_OEM_3);
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(ShortCutText(scCtrl | VK_OEM_3), L"Ctrl+" + name);
    EXPECT_EQ(TextToShortCut(L"Ctrl+" + name, WindowsKeyNames()), scCtrl | VK_OEM_3);
}

TEST(KeyNames, FixedNamesStayFixedWhateverTheLayoutSays) {
    EXPECT_EQ(ShortCutText(scAlt | VK_F4), L"Alt+F4");
    EXPECT_EQ(ShortCutText(VK_RETURN), L"Enter");
    EXPECT_EQ(ShortCutText(0), L"");
}

} // namespace
