// Menu accelerators: reading them, showing captions without them, assigning them
// automatically to one menu level, and finding the item a typed key selects.
#include "gui/core/menu_hotkeys.h"

#include <gtest/gtest.h>

namespace {

using namespace nestora::gui;
using Captions = std::vector<std::wstring>;

TEST(MenuHotkeys, AmpersandsMarkTheAcceleratorAndDoubleOnesAreLiteral) {
    EXPECT_EQ(AcceleratorOf(L"&File"), L'F');
    EXPECT_EQ(AcceleratorOf(L"Mi&nimize"), L'N');
    EXPECT_EQ(AcceleratorOf(L"Save && &quit"), L'Q');
    EXPECT_EQ(AcceleratorOf(L"Fish && chips"), 0);
    EXPECT_EQ(AcceleratorOf(L"Trailing&"), 0);
    EXPECT_EQ(AcceleratorOf(L""), 0);
    EXPECT_EQ(StripAccelerators(L"Ma&ximize/Restore"), L"Maximize/Restore");
    EXPECT_EQ(StripAccelerators(L"Save && &quit"), L"Save & quit");
    EXPECT_EQ(StripAccelerators(L"Trailing&"), L"Trailing");
}

TEST(MenuHotkeys, AutomaticAcceleratorsAreUniqueAndPreferWordStarts) {
    const Captions out = AssignAccelerators(
        {L"Show window", L"&Settings", L"-", L"Start with Windows", L"Exit", L"", L"Sss"});
    EXPECT_EQ(out[0], L"Show &window");        // S is taken by &Settings
    EXPECT_EQ(out[1], L"&Settings");           // kept exactly
    EXPECT_EQ(out[2], L"-");                   // separators untouched
    EXPECT_EQ(out[3], L"S&tart with Windows"); // S, W taken: the next free letter
    EXPECT_EQ(out[4], L"&Exit");
    EXPECT_EQ(out[5], L"");
    EXPECT_EQ(out[6], L"Sss"); // nothing free: better none than a duplicate
    // Every assigned accelerator is different.
    std::wstring keys;
    for (const std::wstring& c : out)
        if (wchar_t a = AcceleratorOf(c)) {
            EXPECT_EQ(keys.find(a), std::wstring::npos) << c;
            keys.push_back(a);
        }
}

TEST(MenuHotkeys, LiteralAmpersandsStayLiteralAndOtherAlphabetsWork) {
    const Captions out = AssignAccelerators({L"&&a b"});
    EXPECT_EQ(out[0], L"&&&a b");
    EXPECT_EQ(StripAccelerators(out[0]), L"&a b");
    EXPECT_EQ(AcceleratorOf(out[0]), L'A');
    EXPECT_EQ(AssignAccelerators({L"Новая папка", L"Настройки"}),
              (Captions{L"&Новая папка", L"Н&астройки"}));
    EXPECT_EQ(FindAccelerator({L"&Выход"}, L'в', -1)->index, 0);
}

TEST(MenuHotkeys, ATypedKeyRunsTheOnlyMatchOrCyclesThroughSeveral) {
    const Captions captions = {L"&Open", L"&Save", L"Save &as", L"&Print", L"S&end"};
    auto m = FindAccelerator(captions, L'p', -1);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->index, 3);
    EXPECT_TRUE(m->execute);
    EXPECT_FALSE(FindAccelerator(captions, L'z', -1));
    EXPECT_FALSE(FindAccelerator(captions, 0, -1));
    // "E" for S&end only; "s" is only &Save ("Save &as" uses A).
    EXPECT_EQ(FindAccelerator(captions, L'E', -1)->index, 4);
    const Captions twice = {L"&One", L"-", L"&Other", L"&Third"};
    m = FindAccelerator(twice, L'o', -1);
    EXPECT_EQ(m->index, 0);
    EXPECT_FALSE(m->execute);
    EXPECT_EQ(FindAccelerator(twice, L'o', 0)->index, 2);
    EXPECT_EQ(FindAccelerator(twice, L'o', 2)->index, 0); // wraps around
}

} // namespace
