// THotKey: the system hot-key control under the framework: shortcut words to the control's
// value and back, and the rules that replace refused combinations.
#include "app_test_support.h"

#include "gui/win/hot_key.h"
#include "gui/win/panel.h"

namespace {

using namespace nestora::gui;
using nestora::gui::testing::AppTest;

class HotKeyTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = Create<TForm>(app.get());
        hotKey = Create<THotKey>(form);
        hotKey->SetParent(form);
    }
    // Presses the modifiers and the key on the control, as the keyboard would, and lets
    // them go again; returns the word the control holds then.
    std::uint16_t Press(std::initializer_list<unsigned> modifiers, unsigned key) {
        const HWND w = hotKey->Handle();
        for (unsigned m : modifiers)
            ::SendMessageW(w, WM_KEYDOWN, m, 1);
        ::SendMessageW(w, WM_KEYDOWN, key, 1);
        ::SendMessageW(w, WM_KEYUP, key, 0xC0000001);
        for (unsigned m : modifiers)
            ::SendMessageW(w, WM_KEYUP, m, 0xC0000001);
        return hotKey->HotKey();
    }
    TForm* form = nullptr;
    THotKey* hotKey = nullptr;
};

TEST_F(HotKeyTest, ShortCutWordsGoToTheControlAndComeBack) {
    wchar_t name[32] = {};
    ::GetClassNameW(hotKey->Handle(), name, 32);
    EXPECT_STREQ(name, L"THotKey");
    const struct {
        std::uint16_t word;
        LRESULT control;
    } cases[] = {
        {0x40C0, 0x02C0}, // Ctrl + $C0, the program's default
        {0x2070, 0x0170}, // Shift+F1
        {0xE041, 0x0741}, // Shift+Ctrl+Alt+A
        {0x4024, 0x0A24}, // Ctrl+Home: an extended key
        {0x0000, 0x0000},
    };
    for (const auto& c : cases) {
        hotKey->SetHotKey(c.word);
        EXPECT_EQ(::SendMessageW(hotKey->Handle(), HKM_GETHOTKEY, 0, 0), c.control) << c.word;
        EXPECT_EQ(hotKey->HotKey(), c.word);
    }
    // What the control holds, set from outside, reads as a shortcut word.
    ::SendMessageW(hotKey->Handle(), HKM_SETHOTKEY, MAKEWORD('Q', HOTKEYF_ALT | HOTKEYF_EXT), 0);
    EXPECT_EQ(hotKey->HotKey(), 0x8051);
    // The value lives on without a window.
    hotKey->DestroyHandle();
    EXPECT_EQ(hotKey->HotKey(), 0x8051);
    hotKey->SetHotKey(0x4046);
    EXPECT_EQ(::SendMessageW(hotKey->Handle(), HKM_GETHOTKEY, 0, 0), 0x0246);
}

TEST_F(HotKeyTest, TheProgramsRulesTurnEveryCombinationIntoCtrlAndAKey) {
    hotKey->SetInvalidKeys((1u << hcNone) | (1u << hcShift) | (1u << hcAlt) | (1u << hcShiftCtrl) |
                           (1u << hcShiftAlt) | (1u << hcCtrlAlt) | (1u << hcShiftCtrlAlt));
    hotKey->SetModifiers(1u << hkCtrl);
    EXPECT_EQ(Press({VK_CONTROL}, 'A'), 0x4041);
    EXPECT_EQ(Press({VK_SHIFT}, 'B'), 0x4042);
    EXPECT_EQ(Press({}, 'C'), 0x4043);
    EXPECT_EQ(Press({VK_CONTROL, VK_MENU}, 'D'), 0x4044);
    EXPECT_EQ(Press({VK_SHIFT, VK_CONTROL, VK_MENU}, VK_F2), 0x4071);
}

TEST_F(HotKeyTest, TypingACombinationRaisesOnChange) {
    std::vector<std::uint16_t> seen;
    hotKey->SetOnChange([&](TObject* sender) {
        EXPECT_EQ(sender, hotKey);
        seen.push_back(hotKey->HotKey());
    });
    Press({VK_CONTROL}, 'R');
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 0x4052);
}

TEST_F(HotKeyTest, RulesSetBeforeTheWindowExistsApplyToIt) {
    auto* late = Create<THotKey>(form);
    late->SetInvalidKeys(1u << hcNone);
    late->SetModifiers((1u << hkShift) | (1u << hkAlt));
    late->SetParent(form);
    const HWND w = late->Handle();
    ::SendMessageW(w, WM_KEYDOWN, 'Z', 1);
    EXPECT_EQ(late->HotKey(), 0xA05A); // Shift+Alt+Z
    // The defaults refuse a bare key and Shift alone, and put Alt in their place.
    EXPECT_EQ(Press({}, 'K'), 0x804B);
    EXPECT_EQ(Press({VK_CONTROL}, 'K'), 0x404B);
}

} // namespace

namespace {

// A form whose window exists while it stays hidden, as a program's main form in the tray.
class HotKeyOnAHiddenForm : public nestora::gui::testing::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = nestora::gui::Create<nestora::gui::TForm>(app.get());
        form->HandleNeeded();
        hotKey = nestora::gui::Create<nestora::gui::THotKey>(form);
        hotKey->SetParent(form);
    }
    nestora::gui::TForm* form = nullptr;
    nestora::gui::THotKey* hotKey = nullptr;
};

TEST_F(HotKeyOnAHiddenForm, TheWindowWaitsForTheFormToBeShownAndGetsWhatWasSetMeanwhile) {
    ASSERT_TRUE(form->HandleAllocated());
    EXPECT_FALSE(hotKey->HandleAllocated());
    hotKey->SetHotKey(0x40C0);
    hotKey->SetInvalidKeys(1u << nestora::gui::hcNone);
    hotKey->SetModifiers(1u << nestora::gui::hkAlt);
    EXPECT_EQ(hotKey->HotKey(), 0x40C0);
    EXPECT_FALSE(hotKey->HandleAllocated());

    form->Show();
    ASSERT_TRUE(hotKey->HandleAllocated());
    EXPECT_EQ(::GetParent(hotKey->Handle()), form->Handle());
    EXPECT_EQ(::SendMessageW(hotKey->Handle(), HKM_GETHOTKEY, 0, 0), 0x02C0);
    // The rules set while it waited: a bare key gets Alt.
    ::SendMessageW(hotKey->Handle(), HKM_SETHOTKEY, 0, 0);
    ::SendMessageW(hotKey->Handle(), WM_KEYDOWN, 'Z', 1);
    EXPECT_EQ(hotKey->HotKey(), 0x805A);

    // Hidden again, the window stays and so does what it holds.
    form->Hide();
    EXPECT_TRUE(hotKey->HandleAllocated());
    EXPECT_EQ(hotKey->HotKey(), 0x805A);
}

TEST_F(HotKeyOnAHiddenForm, AskedForItsWindowItMakesItAtOnce) {
    const HWND window = hotKey->Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(hotKey->HandleAllocated());
    EXPECT_EQ(::GetParent(window), form->Handle());
    form->Show();
    EXPECT_EQ(hotKey->Handle(), window); // showing makes no second one
}

TEST_F(HotKeyOnAHiddenForm, InsideAPanelItWaitsTooAndComesWithTheForm) {
    auto* panel = nestora::gui::Create<nestora::gui::TPanel>(form);
    panel->SetParent(form);
    auto* inner = nestora::gui::Create<nestora::gui::THotKey>(form);
    inner->SetParent(panel);
    EXPECT_TRUE(panel->HandleAllocated());
    EXPECT_FALSE(inner->HandleAllocated());
    form->Show();
    ASSERT_TRUE(inner->HandleAllocated());
    EXPECT_EQ(::GetParent(inner->Handle()), panel->Handle());
}

} // namespace
