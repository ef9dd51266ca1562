// TEdit: the system edit box under the framework: typed text limited by MaxLength, change
// and key events with the shift state, Unicode text, state kept across a new window, and
// its colour.
#include "app_test_support.h"

#include "gui/win/edit.h"

namespace {

using namespace nestora::gui;
using nestora::gui::testing::AppTest;
using nestora::gui::testing::WindowPicture;

class EditTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        form = Create<TForm>(app.get());
        form->SetBounds(10, 10, 300, 200);
        edit = Create<TEdit>(form);
        edit->SetParent(form);
        edit->SetBounds(8, 8, 200, 24);
    }
    void Type(const std::wstring& text) {
        for (wchar_t c : text)
            ::SendMessageW(edit->Handle(), WM_CHAR, c, 1);
    }
    TForm* form = nullptr;
    TEdit* edit = nullptr;
};

TEST_F(EditTest, TheWindowIsTheSystemEditUnderTheFrameworksClass) {
    wchar_t name[32] = {};
    ::GetClassNameW(edit->Handle(), name, 32);
    EXPECT_STREQ(name, L"TEdit");
    EXPECT_TRUE(::GetWindowLongW(edit->Handle(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(::IsWindowUnicode(edit->Handle()));
    // It behaves as an edit box: EM_ messages work.
    ::SendMessageW(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc"));
    EXPECT_EQ(::SendMessageW(edit->Handle(), EM_LINELENGTH, 0, 0), 3);
}

TEST_F(EditTest, MaxLengthLimitsWhatIsTypedNotWhatIsSet) {
    edit->SetMaxLength(20);
    Type(L"abcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(edit->Text(), L"abcdefghijklmnopqrst");
    edit->SetText(std::wstring(25, L'x'));
    EXPECT_EQ(edit->Text().size(), 25u);
    // The limit set before the window exists is applied to it.
    auto* second = Create<TEdit>(form);
    second->SetMaxLength(3);
    second->SetParent(form);
    for (wchar_t c : std::wstring(L"12345"))
        ::SendMessageW(second->Handle(), WM_CHAR, c, 1);
    EXPECT_EQ(second->Text(), L"123");
}

TEST_F(EditTest, OnChangeFollowsTypedAndSetText) {
    std::vector<std::wstring> changes;
    edit->SetOnChange([&](TObject* sender) {
        EXPECT_EQ(sender, edit);
        changes.push_back(edit->Text());
    });
    Type(L"ab");
    edit->SetText(L"xyz");
    edit->SetText(L"xyz"); // no change, no event
    EXPECT_EQ(changes, (std::vector<std::wstring>{L"a", L"ab", L"xyz"}));
    // Without a window the event comes all the same.
    auto* windowless = Create<TEdit>(form);
    int count = 0;
    windowless->SetOnChange([&](TObject*) { ++count; });
    windowless->SetText(L"q");
    EXPECT_EQ(count, 1);
}

TEST_F(EditTest, KeyEventsCarryTheKeyAndTheShiftState) {
    std::vector<std::wstring> keys;
    edit->SetOnKeyUp([&](TObject* sender, unsigned short& key, TShiftState shift) {
        EXPECT_EQ(sender, edit);
        keys.push_back(L"up " + std::to_wstring(key) + ((shift & ssShift) ? L" shift" : L"") +
                       ((shift & ssCtrl) ? L" ctrl" : L""));
    });
    BYTE saved[256] = {};
    ::GetKeyboardState(saved);
    BYTE state[256] = {};
    state[VK_SHIFT] = 0x80;
    ::SetKeyboardState(state);
    ::SendMessageW(edit->Handle(), WM_KEYUP, 'A', 0xC0000001);
    state[VK_SHIFT] = 0;
    state[VK_CONTROL] = 0x80;
    ::SetKeyboardState(state);
    ::SendMessageW(edit->Handle(), WM_KEYUP, VK_F5, 0xC0000001);
    ::SetKeyboardState(saved);
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"up 65 shift", L"up 116 ctrl"}));
}

TEST_F(EditTest, AKeyPressHandlerMayChangeOrSwallowCharacters) {
    edit->SetOnKeyPress([](TObject*, wchar_t& key) {
        if (key == L'/')
            key = 0;           // refused
        else if (key == L'a')
            key = L'A';        // replaced
    });
    Type(L"a/b");
    EXPECT_EQ(edit->Text(), L"Ab");
}

TEST_F(EditTest, UnicodeTextAndStateSurviveANewWindow) {
    const std::wstring text = L"Новая папка \U0001F600";
    edit->SetText(text);
    EXPECT_EQ(edit->Text(), text);
    wchar_t buffer[64] = {};
    ::GetWindowTextW(edit->Handle(), buffer, 64);
    EXPECT_EQ(std::wstring(buffer), text);
    edit->SetSelection(static_cast<int>(text.size()), 0); // the caret at the end
    Type(L"!");
    edit->SetSelection(1, 2);
    edit->DestroyHandle();
    EXPECT_FALSE(edit->HandleAllocated());
    EXPECT_EQ(edit->Text(), text + L"!");
    edit->HandleNeeded();
    EXPECT_EQ(edit->Text(), text + L"!");
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 2);
}

TEST_F(EditTest, ReadOnlyRefusesTyping) {
    edit->SetText(L"fixed");
    edit->SetReadOnly(true);
    Type(L"x");
    EXPECT_EQ(edit->Text(), L"fixed");
    edit->SetReadOnly(false);
    ::SendMessageW(edit->Handle(), EM_SETSEL, 5, 5);
    Type(L"x");
    EXPECT_EQ(edit->Text(), L"fixedx");
}

TEST_F(EditTest, TheBackgroundIsTheEditsColour) {
    edit->SetColor(RGBColor(255, 255, 0));
    form->Show();
    const WindowPicture picture(edit->Handle());
    // Most of the box is background; the text is empty.
    EXPECT_GT(picture.Count(RGBColor(255, 255, 0)), picture.width * picture.height / 2);
}

} // namespace
