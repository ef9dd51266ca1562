#include "app/hotkey_registration.h"

#include <gtest/gtest.h>

namespace nestora::app {
namespace {

TEST(HotKeyRegistration, PassesEveryModifierTheWordHolds) {
    struct Case {
        ShortcutWord word;
        unsigned modifiers;
        unsigned key;
    };
    const Case cases[] = {
        {0x40C0, kModControl, 0xC0},
        {0x8046, kModAlt, 0x46}, // Alt+F stays Alt+F, never a bare F
        {0x2046, kModShift, 0x46},
        {0x6070, kModShift | kModControl, 0x70},
        {0xC046, kModControl | kModAlt, 0x46},
        {0xE046, kModShift | kModControl | kModAlt, 0x46},
        {0x0070, 0, 0x70},
    };
    for (const auto& c : cases) {
        const auto registration = HotKeyRegistrationFor(c.word);
        ASSERT_TRUE(registration.has_value()) << std::hex << c.word;
        EXPECT_EQ(registration->modifiers, c.modifiers | kModNoRepeat) << std::hex << c.word;
        EXPECT_EQ(registration->virtualKey, c.key) << std::hex << c.word;
    }
}

TEST(HotKeyRegistration, RegistersNothingWithoutAKey) {
    EXPECT_FALSE(HotKeyRegistrationFor(0).has_value());
    EXPECT_FALSE(HotKeyRegistrationFor(0x4000).has_value());
    EXPECT_FALSE(HotKeyRegistrationFor(0xE000).has_value());
}

TEST(HotKeyRegistration, TheSelectionKeyIsTheHotKeyWithShiftAddedAndNeverAnotherShift) {
    const auto standard = SelectionKeyRegistrationFor(kDefaultHotKey);
    ASSERT_TRUE(standard.has_value());
    EXPECT_EQ(*standard, (HotKeyRegistration{kModShift | kModControl | kModNoRepeat, 0xC0}));
    const auto alt = SelectionKeyRegistrationFor(0xC046);
    ASSERT_TRUE(alt.has_value());
    EXPECT_EQ(*alt, (HotKeyRegistration{kModShift | kModControl | kModAlt | kModNoRepeat, 0x46}));
    // Shift+Ctrl+F1 holds Shift already; a word without a key has nothing to add it to.
    EXPECT_FALSE(SelectionKeyRegistrationFor(0x6070).has_value());
    EXPECT_FALSE(SelectionKeyRegistrationFor(0x2046).has_value());
    EXPECT_FALSE(SelectionKeyRegistrationFor(0x4000).has_value());
    EXPECT_FALSE(SelectionKeyRegistrationFor(0).has_value());
}

TEST(HotKeyRegistration, TheSelectionKeysIdNeverMeetsTheHotKeysOrTheLibrariesRange) {
    for (int id : {0, 0x17, 0xFF}) {
        const int selection = SelectionKeyIdFromHotKeyId(id);
        EXPECT_NE(selection, id);
        EXPECT_GT(selection, 0xFF);
        EXPECT_LT(selection, 0xC000);
    }
}

} // namespace
} // namespace nestora::app
