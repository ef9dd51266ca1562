#include "app/shortcut.h"

#include <gtest/gtest.h>

#include <map>

namespace nestora::app {
namespace {

// A keyboard layout with a few named keys, counting how often it is asked.
struct FakeLayout {
    std::map<unsigned, std::wstring> names;
    int* calls = nullptr;

    std::wstring operator()(unsigned vk) const {
        if (calls)
            ++*calls;
        auto it = names.find(vk);
        return it == names.end() ? std::wstring() : it->second;
    }
};

KeyNameSource UsLikeLayout() {
    return FakeLayout{{{0xC0, L"`"}, {0xBA, L";"}, {0x13, L"Pause"}, {0x91, L"Scroll Lock"}}};
}

TEST(ShortcutSplit, ClearsTheThreeFlagBitsFromTheKey) {
    const SplitShortcut ctrlGrave = SplitShortcutWord(0x40C0);
    EXPECT_EQ(ctrlGrave.key, 0xC0u);
    EXPECT_TRUE(ctrlGrave.ctrl);
    EXPECT_FALSE(ctrlGrave.shift);
    EXPECT_FALSE(ctrlGrave.alt);

    const SplitShortcut all = SplitShortcutWord(0xFFFF);
    EXPECT_EQ(all.key, 0x1FFFu); // bits 8-12 belong to the key
    EXPECT_TRUE(all.shift && all.ctrl && all.alt);

    const SplitShortcut none = SplitShortcutWord(0);
    EXPECT_EQ(none.key, 0u);
    EXPECT_FALSE(none.shift || none.ctrl || none.alt);
}

TEST(ShortcutText, NamesKeysFromTheFixedTable) {
    const auto layout = UsLikeLayout();
    const std::pair<unsigned, const wchar_t*> cases[] = {
        {0x08, L"BkSp"}, {0x09, L"Tab"},   {0x0D, L"Enter"}, {0x1B, L"Esc"},  {0x20, L"Space"},
        {0x21, L"PgUp"}, {0x22, L"PgDn"},  {0x23, L"End"},   {0x24, L"Home"}, {0x25, L"Left"},
        {0x26, L"Up"},   {0x27, L"Right"}, {0x28, L"Down"},  {0x2D, L"Ins"},  {0x2E, L"Del"},
        {0x30, L"0"},    {0x39, L"9"},     {0x41, L"A"},     {0x5A, L"Z"},    {0x60, L"0"},
        {0x69, L"9"},    {0x70, L"F1"},    {0x79, L"F10"},   {0x87, L"F24"},
    };
    for (const auto& [code, name] : cases)
        EXPECT_EQ(ShortcutToText(static_cast<ShortcutWord>(code), layout), name) << code;
}

TEST(ShortcutText, AsksTheLayoutOnlyOutsideTheTable) {
    int calls = 0;
    const KeyNameSource layout = FakeLayout{{{0xC0, L"`"}, {0x41, L"wrong"}}, &calls};
    EXPECT_EQ(ShortcutToText(0x4041, layout), L"Ctrl+A");
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(ShortcutToText(0x40C0, layout), L"Ctrl+`");
    EXPECT_EQ(calls, 1);
}

TEST(ShortcutText, IsEmptyWhenTheKeyHasNoName) {
    const auto layout = UsLikeLayout();
    EXPECT_EQ(ShortcutToText(0, layout), L"");
    EXPECT_EQ(ShortcutToText(0x4000, layout), L""); // Ctrl with no key
    EXPECT_EQ(ShortcutToText(0x40FF, layout), L""); // a code the layout can't name
    EXPECT_EQ(ShortcutToText(0x40C0, KeyNameSource()), L"");
}

TEST(ShortcutText, PutsTheModifiersInOneOrder) {
    const auto layout = UsLikeLayout();
    EXPECT_EQ(ShortcutToText(0x6070, layout), L"Shift+Ctrl+F1");
    EXPECT_EQ(ShortcutToText(0xE046, layout), L"Shift+Ctrl+Alt+F");
    EXPECT_EQ(ShortcutToText(0xA046, layout), L"Shift+Alt+F");
    EXPECT_EQ(ShortcutToText(0x8046, layout), L"Alt+F");
    EXPECT_EQ(ShortcutToText(0x40C0, layout), L"Ctrl+`");
    // The key is named by its low byte.
    EXPECT_EQ(ShortcutToText(0x4146, layout), L"Ctrl+F");
}

TEST(ShortcutParse, ReadsTheStoredForms) {
    const auto layout = UsLikeLayout();
    EXPECT_EQ(ShortcutFromText(L"ctrl+f", layout), 0x4046);
    EXPECT_EQ(ShortcutFromText(L"^F", layout), 0x4046);
    EXPECT_EQ(ShortcutFromText(L"Shift+Ctrl+F1", layout), 0x6070);
    EXPECT_EQ(ShortcutFromText(L"Ctrl+`", layout), 0x40C0);
    EXPECT_EQ(ShortcutFromText(L"ALT+shift+pgdn", layout), 0xA022);
    EXPECT_EQ(ShortcutFromText(L"Ctrl+Ctrl+^f", layout), 0x4046);
    EXPECT_EQ(ShortcutFromText(L"f12", layout), 0x007B);
    EXPECT_EQ(ShortcutFromText(L"Ctrl+scroll lock", layout), 0x4091);
}

TEST(ShortcutParse, GivesZeroForWhatItCannotRead) {
    const auto layout = UsLikeLayout();
    EXPECT_EQ(ShortcutFromText(L"", layout), 0);
    EXPECT_EQ(ShortcutFromText(L"Ctrl+", layout), 0);
    EXPECT_EQ(ShortcutFromText(L"Shift+Ctrl+Alt+", layout), 0);
    EXPECT_EQ(ShortcutFromText(L"Ctrl+NoSuchKey", layout), 0);
    EXPECT_EQ(ShortcutFromText(L"F25", layout), 0);
    EXPECT_EQ(ShortcutFromText(L"Ctrl+Shift", layout), 0); // "Shift" without "+" is no key
    EXPECT_EQ(ShortcutFromText(L"Ctrl+F ", layout), 0);
    EXPECT_EQ(ShortcutFromText(L" Ctrl+F", layout), 0);
    EXPECT_EQ(ShortcutFromText(L"Ctrl+`", KeyNameSource()), 0);
}

TEST(ShortcutParse, KeypadDigitsReadBackAsTheDigitRow) {
    const auto layout = UsLikeLayout();
    EXPECT_EQ(ShortcutToText(0x4065, layout), L"Ctrl+5");
    EXPECT_EQ(ShortcutFromText(L"Ctrl+5", layout), 0x4035);
}

TEST(ShortcutParse, KeysBelowEightReadBackAsThemselves) {
    // Ctrl+Break gives VK_CANCEL (3), which layouts name; it must not come back as $103.
    const KeyNameSource layout = FakeLayout{{{0x03, L"Cancel"}, {0x13, L"Pause"}}};
    EXPECT_EQ(ShortcutToText(0x4003, layout), L"Ctrl+Cancel");
    EXPECT_EQ(ShortcutFromText(L"Ctrl+Cancel", layout), 0x4003);
    // A name borne by a key from 8 up and one below 8 goes to the first.
    const KeyNameSource shared = FakeLayout{{{0x03, L"Pause"}, {0x13, L"Pause"}}};
    EXPECT_EQ(ShortcutFromText(L"Pause", shared), 0x0013);
}

TEST(ShortcutParse, AsksTheLayoutAtMostOncePerKey) {
    int calls = 0;
    const KeyNameSource layout = FakeLayout{{}, &calls};
    EXPECT_EQ(ShortcutFromText(L"Ctrl+Unknown", layout), 0);
    EXPECT_GT(calls, 0);
    EXPECT_LE(calls, 256);
}

TEST(ShortcutParse, InvertsTheTextFormForEveryKeyAndModifierSet) {
    std::map<unsigned, std::wstring> names;
    for (unsigned vk = 0x01; vk <= 0xFF; ++vk)
        names[vk] = L"Key" + std::to_wstring(vk);
    const KeyNameSource layout = FakeLayout{names};
    int checked = 0;
    for (unsigned flags = 0; flags <= 7; ++flags) {
        for (unsigned vk = 0x01; vk <= 0xFF; ++vk) {
            const auto word = static_cast<ShortcutWord>((flags << 13) | vk);
            const std::wstring text = ShortcutToText(word, layout);
            ASSERT_FALSE(text.empty()) << word;
            const bool keypadDigit = vk >= 0x60 && vk <= 0x69;
            const auto expected = keypadDigit ? static_cast<ShortcutWord>(word - 0x30) : word;
            ASSERT_EQ(ShortcutFromText(text, layout), expected) << std::hex << word;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 8 * 255);
}

TEST(ShortcutFromAnyLayout, ATextWrittenUnderAnotherLayoutIsReadBack) {
    // Written under Russian ("Ё" is the key $C0 there, "Ж" the key $BA), read under English.
    const KeyNameSource english = UsLikeLayout();
    const KeyNameSource russian = FakeLayout{{{0xC0, L"Ё"}, {0xBA, L"Ж"}, {0xBF, L"."}}};
    EXPECT_EQ(ShortcutFromText(L"Ctrl+Ё", english), 0); // the fault: no key, for good
    EXPECT_EQ(ShortcutFromAnyLayout(L"Ctrl+Ё", english, {english, russian}), 0x40C0);
    EXPECT_EQ(ShortcutFromAnyLayout(L"ctrl+ж", english, {russian}), 0x40BA);

    // The other way round, with no English layout installed: the English names read it.
    EXPECT_EQ(ShortcutFromAnyLayout(L"Ctrl+`", russian, {russian}), 0x40C0);
    // The active layout comes first: under Russian "." is its own key $BF.
    EXPECT_EQ(ShortcutFromAnyLayout(L"Ctrl+.", russian, {}), 0x40BF);
    EXPECT_EQ(ShortcutFromAnyLayout(L"Ctrl+.", english, {}), 0x40BE);
    // A name no layout knows is still no key.
    EXPECT_EQ(ShortcutFromAnyLayout(L"Ctrl+Ы", english, {english, russian}), 0);
}

} // namespace
} // namespace nestora::app
