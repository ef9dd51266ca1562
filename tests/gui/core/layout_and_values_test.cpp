// Pure arithmetic behind controls: alignment of children, the hot-key control's value and
// rules, and the text of registry string data.
#include "gui/core/align_layout.h"
#include "gui/core/hot_key_value.h"
#include "gui/core/registry_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace nestora::gui;

TEST(AlignLayout, TopBottomLeftRightThenClientShareTheRoom) {
    const TRect client{0, 0, 200, 100};
    const std::vector<AlignRequest> controls = {
        {TAlign::alClient, {5, 5, 10, 10}},  {TAlign::alTop, {0, 50, 30, 70}},
        {TAlign::alLeft, {0, 0, 40, 10}},    {TAlign::alBottom, {0, 0, 10, 15}},
        {TAlign::alNone, {7, 8, 9, 10}},     {TAlign::alTop, {0, 0, 10, 10}},
        {TAlign::alRight, {100, 0, 125, 5}},
    };
    const std::vector<TRect> r = ArrangeAligned(client, controls);
    EXPECT_EQ(r[1], (TRect{0, 0, 200, 20}));    // first top keeps its height 20
    EXPECT_EQ(r[5], (TRect{0, 20, 200, 30}));   // second top below it
    EXPECT_EQ(r[3], (TRect{0, 85, 200, 100}));  // bottom
    EXPECT_EQ(r[2], (TRect{0, 30, 40, 85}));    // left: remaining height
    EXPECT_EQ(r[6], (TRect{175, 30, 200, 85})); // right
    EXPECT_EQ(r[0], (TRect{40, 30, 175, 85}));  // client: the rest
    EXPECT_EQ(r[4], (TRect{7, 8, 9, 10}));      // alNone untouched
}

TEST(AlignLayout, ControlsThatDoNotFitGetWhatIsLeftNeverNegativeSizes) {
    const std::vector<AlignRequest> controls = {{TAlign::alTop, {0, 0, 10, 80}},
                                                {TAlign::alTop, {0, 0, 10, 80}},
                                                {TAlign::alClient, {0, 0, 10, 10}},
                                                {TAlign::alLeft, {0, 0, 500, 10}}};
    const std::vector<TRect> r = ArrangeAligned(TRect{10, 10, 110, 110}, controls);
    EXPECT_EQ(r[0], (TRect{10, 10, 110, 90}));
    EXPECT_EQ(r[1], (TRect{10, 90, 110, 110}));
    EXPECT_EQ(r[3], (TRect{10, 110, 110, 110}));
    EXPECT_EQ(r[2].Width(), 0);
    EXPECT_EQ(r[2].Height(), 0);
    // A parent with a negative client size (shrunk below its borders) lays out to nothing.
    const std::vector<TRect> tiny = ArrangeAligned(TRect{0, 0, -5, -5}, controls);
    for (const TRect& t : tiny) {
        EXPECT_GE(t.Width(), 0);
        EXPECT_GE(t.Height(), 0);
    }
}

TEST(HotKeyValue, ShortCutWordsRoundTripThroughTheControlsValue) {
    EXPECT_EQ(HotKeyValueFromShortCut(0x40C0), 0x02C0); // Ctrl + $C0, the program's default
    EXPECT_EQ(ShortCutFromHotKeyValue(0x02C0), 0x40C0);
    EXPECT_EQ(HotKeyValueFromShortCut(0xE041), 0x0741); // Shift+Ctrl+Alt+A
    EXPECT_EQ(ShortCutFromHotKeyValue(0x0741), 0xE041);
    // Extended keys carry the extended flag in the control and lose it in the word.
    EXPECT_EQ(HotKeyValueFromShortCut(0x4023), 0x0A23); // Ctrl+End
    EXPECT_EQ(ShortCutFromHotKeyValue(0x0A23), 0x4023);
    EXPECT_EQ(HotKeyValueFromShortCut(0x2061), 0x0161); // keypad 1 stays a keypad key
    EXPECT_EQ(HotKeyValueFromShortCut(0), 0);
    EXPECT_EQ(HotKeyValueFromShortCut(0x4000), 0);      // flags without key: no hot key
    EXPECT_EQ(HotKeyValueFromShortCut(0x4155), 0);      // key $155 is no virtual key
    EXPECT_EQ(ShortCutFromHotKeyValue(0x0200), 0);
    for (unsigned vk = 1; vk <= 0xFF; ++vk)
        for (unsigned flags : {0x0000u, 0x2000u, 0x4000u, 0x8000u, 0x6000u, 0xE000u})
            EXPECT_EQ(ShortCutFromHotKeyValue(HotKeyValueFromShortCut(
                          static_cast<std::uint16_t>(vk | flags))),
                      vk | flags);
}

TEST(HotKeyValue, RulesAndModifiersMapToTheControlsBits) {
    // The program's rules: everything but Ctrl alone is invalid, Ctrl replaces it.
    const THKInvalidKeys invalid = (1u << hcNone) | (1u << hcShift) | (1u << hcAlt) |
                                   (1u << hcShiftCtrl) | (1u << hcShiftAlt) | (1u << hcCtrlAlt) |
                                   (1u << hcShiftCtrlAlt);
    EXPECT_EQ(HotKeyRulesFromInvalidKeys(invalid), 0x01u | 0x02u | 0x08u | 0x10u | 0x20u | 0x40u | 0x80u);
    EXPECT_EQ(HotKeyRulesFromInvalidKeys(1u << hcCtrl), 0x04u);
    EXPECT_EQ(HotKeyFlagsFromModifiers(1u << hkCtrl), 0x02u);
    EXPECT_EQ(HotKeyFlagsFromModifiers((1u << hkShift) | (1u << hkAlt) | (1u << hkExt)), 0x0Du);
    EXPECT_EQ(kHKInvalidKeyInfo.Find("hcShiftCtrlAlt"), 7);
    EXPECT_EQ(kHKModifierInfo.Find("HKEXT"), 3);
}

std::wstring Text(std::vector<unsigned char> bytes) {
    return RegistryTextFromBytes(bytes.data(), bytes.size());
}

TEST(RegistryText, ReadsUpToTheFirstZeroAndNeverPastTheData) {
    EXPECT_EQ(Text({'R', 0, 'u', 0, 0, 0}), L"Ru");
    EXPECT_EQ(Text({'R', 0, 'u', 0}), L"Ru");             // not terminated
    EXPECT_EQ(Text({'R', 0, 'u', 0, 'x'}), L"Ru");        // odd byte count
    EXPECT_EQ(Text({'R', 0, 0, 0, 'u', 0}), L"R");        // embedded zero
    EXPECT_EQ(Text({'x'}), L"");
    EXPECT_EQ(Text({}), L"");
    EXPECT_EQ(RegistryTextFromBytes(nullptr, 10), L"");
    EXPECT_EQ(Text({0x1D, 0x04, 0x3E, 0x04}), L"Но");    // Cyrillic, little-endian
    EXPECT_EQ(Text({0x3D, 0xD8, 0x00, 0xDE}), L"\U0001F600");
    // The data lives in a vector of exactly its size: AddressSanitizer sees any overread.
    std::vector<unsigned char> big(65536);
    for (std::size_t i = 0; i + 1 < big.size(); i += 2) {
        big[i] = 'a';
        big[i + 1] = 0;
    }
    EXPECT_EQ(RegistryTextFromBytes(big.data(), big.size()).size(), 32768u);
}

} // namespace
