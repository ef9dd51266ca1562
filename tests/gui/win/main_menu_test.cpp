// TMainMenu on a real window that offers it its messages as a form does: attaching and
// detaching (Windows must never destroy the menu with the window), changes reaching the
// bar at once or after menu tracking, and keyboard shortcuts.
#include "gui/win/main_menu.h"

#include "gui/core/shortcut_text.h"

#include "graphics_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace nestora::gui;

// A top-level window whose procedure offers every message to a main menu first.
class MenuHost {
public:
    MenuHost() {
        static const ATOM atom = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = &MenuHost::Entry;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"NestoraMainMenuTestHost";
            return ::RegisterClassExW(&wc);
        }();
        EXPECT_NE(atom, 0);
        window_ =
            ::CreateWindowExW(0, L"NestoraMainMenuTestHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0,
                              300, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    }
    ~MenuHost() {
        if (::IsWindow(window_))
            ::DestroyWindow(window_);
    }
    MenuHost(const MenuHost&) = delete;
    MenuHost& operator=(const MenuHost&) = delete;
    HWND Window() const { return window_; }
    TMainMenu* menu = nullptr;
    std::vector<UINT> unhandled;

private:
    static LRESULT CALLBACK Entry(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE)
            ::SetWindowLongPtrW(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(
                                    reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* host = reinterpret_cast<MenuHost*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (host && host->menu) {
            TMessage message{window, msg, wParam, lParam, 0};
            if (host->menu->HandleWindowMessage(message))
                return message.Result;
        }
        return ::DefWindowProcW(window, msg, wParam, lParam);
    }
    HWND window_ = nullptr;
};

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = menu->Items().AddItem(L"&File");
        save = file->AddItem(L"&Save", [this](TObject*) { log += L"save;"; });
        save->SetShortCut(scCtrl | 'S');
        refresh = file->AddItem(L"Refresh", [this](TObject*) { log += L"refresh;"; });
        refresh->SetShortCut(VK_F5);
        help = menu->Items().AddItem(L"&Help", [this](TObject*) { log += L"help;"; });
        host.menu = menu.get();
    }
    MenuHost host;
    ComponentPtr<TMainMenu> menu = MakeComponent<TMainMenu>();
    TMenuItem *file, *save, *refresh, *help;
    std::wstring log;
};

TEST_F(MainMenuTest, AttachedTheWindowShowsTheBarAndItsChanges) {
    menu->AttachWindow(host.Window());
    const HMENU bar = ::GetMenu(host.Window());
    ASSERT_EQ(bar, menu->Handle());
    EXPECT_EQ(::GetMenuItemCount(bar), 2);
    EXPECT_EQ(::GetSubMenu(bar, 0), file->Handle());

    std::vector<bool> kinds;
    menu->SetOnChange([&](TObject*, TMenuItem*, bool rebuild) { kinds.push_back(rebuild); });
    help->SetEnabled(false);
    EXPECT_TRUE(::GetMenuState(bar, 1, MF_BYPOSITION) & MF_GRAYED);
    menu->Items().AddItem(L"&Window");
    EXPECT_EQ(::GetMenuItemCount(bar), 3); // rebuilt at once, same bar handle
    EXPECT_EQ(::GetMenu(host.Window()), bar);
    EXPECT_EQ(kinds, (std::vector<bool>{false, true}));
}

TEST_F(MainMenuTest, RebuildsWaitWhileTheUserHasTheMenuOpen) {
    menu->AttachWindow(host.Window());
    const HMENU bar = ::GetMenu(host.Window());
    ::SendMessageW(host.Window(), WM_ENTERMENULOOP, FALSE, 0);
    menu->Items().AddItem(L"&Window");
    EXPECT_EQ(::GetMenuItemCount(bar), 2);
    save->SetCaption(L"&Save all"); // in place is harmless while open
    ::SendMessageW(host.Window(), WM_EXITMENULOOP, FALSE, 0);
    EXPECT_EQ(::GetMenuItemCount(bar), 3);
}

TEST_F(MainMenuTest, CommandsFromTheBarRunTheItems) {
    menu->AttachWindow(host.Window());
    ::SendMessageW(host.Window(), WM_COMMAND, MAKEWPARAM(save->Command(), 0), 0);
    ::SendMessageW(host.Window(), WM_COMMAND, MAKEWPARAM(help->Command(), 0), 0);
    EXPECT_EQ(log, L"save;help;");
}

TEST_F(MainMenuTest, ShortcutsRunEnabledItemsOnly) {
    EXPECT_TRUE(menu->IsShortCut('S', ssCtrl));
    EXPECT_FALSE(menu->IsShortCut('S', 0));
    EXPECT_FALSE(menu->IsShortCut('S', ssCtrl | ssShift));
    TMessage f5{host.Window(), WM_KEYDOWN, VK_F5, 0, 0};
    EXPECT_TRUE(menu->IsShortCut(f5));
    TMessage up{host.Window(), WM_KEYUP, VK_F5, 0, 0};
    EXPECT_FALSE(menu->IsShortCut(up));
    file->SetEnabled(false);
    EXPECT_FALSE(menu->IsShortCut(f5));
    EXPECT_EQ(log, L"save;refresh;");
}

TEST_F(MainMenuTest, TheWindowNeverTakesTheMenuWithIt) {
    menu->AttachWindow(host.Window());
    const HMENU bar = menu->Handle();
    const HMENU drop = file->Handle();
    ::DestroyWindow(host.Window());
    EXPECT_TRUE(::IsMenu(bar));
    EXPECT_TRUE(::IsMenu(drop));
    EXPECT_EQ(menu->WindowHandle(), nullptr);
    menu->Items().AddItem(L"later"); // still a working menu
    EXPECT_EQ(::GetMenuItemCount(menu->Handle()), 3);
    const long menusBefore = HandleCounters::Live(HandleKind::Menu);
    menu.reset();
    EXPECT_FALSE(::IsMenu(bar));
    EXPECT_EQ(HandleCounters::Live(HandleKind::Menu), menusBefore - 2);
}

TEST_F(MainMenuTest, AMenuThatGoesFirstTakesItsBarOffTheWindow) {
    menu->AttachWindow(host.Window());
    host.menu = nullptr;
    menu.reset();
    EXPECT_EQ(::GetMenu(host.Window()), nullptr);
    EXPECT_TRUE(::IsWindow(host.Window()));
    ::DrawMenuBar(host.Window());
}

TEST_F(MainMenuTest, DetachingLeavesAnotherMenuOfTheWindowAlone) {
    menu->AttachWindow(host.Window());
    const HMENU other = ::CreateMenu();
    ::SetMenu(host.Window(), other);
    menu->DetachWindow();
    EXPECT_EQ(::GetMenu(host.Window()), other);
    ::SetMenu(host.Window(), nullptr);
    ::DestroyMenu(other);
}

} // namespace
