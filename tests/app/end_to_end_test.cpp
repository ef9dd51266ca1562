// The real nestora.exe under Wine, as a user meets it: it starts hidden, a press of
// Ctrl+` (through the system's input, by the press_hotkey helper) makes "Новая папка" on
// the desktop and the next press "Новая папка (2)"; with English stored, "New Folder"; a
// second copy tells that the first is running and ends with exit code 0 while the first
// goes on; closing the window writes the four settings.
//
// The settings are the program's real ones, HKEY_CURRENT_USER\Software\Nestora, in the
// test run's own Wine prefix (under the build folder, disposable); the desktop is that
// prefix's user's (HOME points into the build folder too). Every folder the test made is
// removed again.
//
// The skinned program as a user drives it with the mouse and the keyboard: the tray menu's
// first entry shows the window in its frame (the hotkey is off meanwhile), the help button
// shows the credits and a click on them returns, Alt+Space opens the frame's own window
// menu, the minimise button hides the window to the tray (the hotkey works again), and
// "Start with Windows" checked in the menu writes the run entry and "StartUp" at exit.
// With NESTORA_SCREENSHOTS naming a folder (a Windows path), the pictures of the tray menu,
// the window in both languages and the credits are saved there as BMP files.
//
// Also here, as they need the desktop alone: the desktop's windows as a press sees them.
#include "app/win_desktop_shell.h"
#include "app/win_press_windows.h"

#include "gui/win/bitmap.h"
#include "gui/win/canvas.h"
#include "gui/win/handles.h"

#include "tests/support/core/windows_path.h"
#include "tests/support/win/child_process.h"
#include "tests/support/win/registry_values.h"
#include "tests/support/win/waiting.h"
#include "tests/support/win/window_picture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace nestora::app {
namespace {

using namespace std::chrono_literals;
using nestora::testing::ChildProcess;
using nestora::testing::KeepScreenshot;
using nestora::testing::kSettingsKey;
using nestora::testing::WaitFor;
using nestora::testing::WindowsPathOf;

std::optional<std::wstring> SettingText(const wchar_t* name) {
    return nestora::testing::ReadText(HKEY_CURRENT_USER, kSettingsKey, name);
}

std::optional<DWORD> SettingNumber(const wchar_t* name) {
    return nestora::testing::ReadNumber(HKEY_CURRENT_USER, kSettingsKey, name);
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        desktop = SystemDesktopShell().DesktopPath();
        ASSERT_FALSE(desktop.empty());
        std::filesystem::create_directories(desktop);
        RemoveMadeFolders();
    }
    void TearDown() override {
        RemoveMadeFolders();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    }
    void RemoveMadeFolders() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(desktop, ignored)) {
            const std::wstring name = entry.path().filename().wstring();
            if (name.starts_with(L"Новая папка") || name.starts_with(L"New Folder"))
                std::filesystem::remove_all(entry.path(), ignored);
        }
    }
    bool OnDesktop(const std::wstring& name) const {
        return std::filesystem::is_directory(std::filesystem::path(desktop) / name);
    }
    void Press() {
        ChildProcess helper(WindowsPathOf(NESTORA_PRESS_HOTKEY_EXE));
        ASSERT_TRUE(helper.Started());
        EXPECT_EQ(helper.ExitCode(), 0u);
    }
    // Starts the program and waits until its window is made and its settings are in place.
    std::unique_ptr<ChildProcess> StartNestora() {
        auto nestora = std::make_unique<ChildProcess>(WindowsPathOf(NESTORA_EXE));
        EXPECT_TRUE(nestora->Started());
        EXPECT_TRUE(WaitFor([&] { return nestora->Window(L"TForm1") != nullptr; }));
        nestora->WaitUntilIdle(5s);
        return nestora;
    }

    std::wstring desktop;
};

TEST_F(EndToEndTest, APressMakesANewFolderOnTheDesktopAndASecondCopyStepsAside) {
    const auto nestora = StartNestora();
    // First start: the defaults are stored.
    ASSERT_TRUE(WaitFor([] { return SettingText(L"Lang").has_value(); }));
    EXPECT_EQ(SettingText(L"FolderName"), L"Новая папка");
    EXPECT_EQ(SettingText(L"Lang"), L"Ru");
    const HWND mainWindow = nestora->Window(L"TForm1");
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_FALSE(::IsWindowVisible(mainWindow));          // it lives in the tray
    EXPECT_NE(nestora->Window(L"TPUtilWindow"), nullptr); // the tray icon's window

    Press();
    EXPECT_TRUE(WaitFor([&] { return OnDesktop(L"Новая папка"); }));
    Press();
    EXPECT_TRUE(WaitFor([&] { return OnDesktop(L"Новая папка (2)"); }));

    // A second copy: its message, then it ends by itself with exit code 0.
    ChildProcess second(WindowsPathOf(NESTORA_EXE));
    ASSERT_TRUE(second.Started());
    // The box's window comes before its text: wait for both.
    HWND box = nullptr;
    wchar_t text[256] = {};
    ASSERT_TRUE(WaitFor([&] {
        box = second.Window(L"#32770");
        return box && ::GetDlgItemTextW(box, 0xFFFF, text, 256) > 0;
    }));
    EXPECT_STREQ(text, L"Application \"Nestora\" is already running.");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_EQ(nestora->Window(L"TForm1"), mainWindow);
    EXPECT_TRUE(nestora->Running());

    // The first copy still answers the hotkey.
    Press();
    EXPECT_TRUE(WaitFor([&] { return OnDesktop(L"Новая папка (3)"); }));

    // Closing the window writes the settings.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(nestora->ExitCode(), 0u);
    EXPECT_EQ(SettingNumber(L"StartUp"), 0u);
    EXPECT_EQ(SettingText(L"FolderName"), L"Новая папка");
    const auto hotKey = SettingText(L"HotKey");
    ASSERT_TRUE(hotKey);
    EXPECT_TRUE(hotKey->starts_with(L"Ctrl+") && hotKey->size() > 5) << *hotKey;
    EXPECT_EQ(SettingText(L"Lang"), L"Ru");
}

TEST_F(EndToEndTest, WithEnglishStoredTheFolderIsANewFolder) {
    ASSERT_TRUE(nestora::testing::WriteNumber(HKEY_CURRENT_USER, kSettingsKey, L"StartUp", 0));
    // No name of its own: the language's default name is the one used.
    for (const auto& [name, value] :
         {std::pair{L"FolderName", L""}, std::pair{L"HotKey", L"^`"}, std::pair{L"Lang", L"En"}})
        ASSERT_TRUE(nestora::testing::WriteText(HKEY_CURRENT_USER, kSettingsKey, name, value));

    const auto nestora = StartNestora();
    Press();
    EXPECT_TRUE(WaitFor([&] { return OnDesktop(L"New Folder"); }));
    EXPECT_FALSE(OnDesktop(L"Новая папка"));
    ::PostMessageW(nestora->Window(L"TForm1"), WM_CLOSE, 0, 0);
    EXPECT_EQ(nestora->ExitCode(), 0u);
    EXPECT_EQ(SettingText(L"Lang"), L"En");
}

TEST_F(EndToEndTest, AHotKeyStoredUnderARussianLayoutSurvivesARunUnderAnother) {
    // What a Russian Windows stores for Ctrl and the key $C0; Wine names that key "`" under
    // every layout, so no layout here can read it.
    for (const auto& [name, value] : {std::pair{L"FolderName", L"x"},
                                      std::pair{L"HotKey", L"Ctrl+Ё"}, std::pair{L"Lang", L"ru"}})
        ASSERT_TRUE(nestora::testing::WriteText(HKEY_CURRENT_USER, kSettingsKey, name, value));
    ASSERT_TRUE(nestora::testing::WriteNumber(HKEY_CURRENT_USER, kSettingsKey, L"StartUp", 0));

    const auto nestora = StartNestora();
    ::PostMessageW(nestora->Window(L"TForm1"), WM_CLOSE, 0, 0);
    EXPECT_EQ(nestora->ExitCode(), 0u);
    EXPECT_EQ(SettingText(L"HotKey"), L"Ctrl+Ё");
    EXPECT_EQ(SettingText(L"Lang"), L"Ru"); // the settings were written
}

// --- the skinned program, driven from outside -------------------------------------------

constexpr UINT kTrayCallbackMessage = 1235;
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"nestora.exe";

struct ChildSearch {
    const wchar_t* className;
    HWND found = nullptr;
};

BOOL CALLBACK FindChildOfClass(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<ChildSearch*>(data);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (::lstrcmpW(name, search.className) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

HWND ChildOfClass(HWND parent, const wchar_t* className) {
    ChildSearch search{className};
    ::EnumChildWindows(parent, FindChildOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT WindowRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

// What the screen shows in a rectangle (every program here shares Wine's one desktop).
std::unique_ptr<gui::TBitmap> ScreenPicture(const RECT& r) {
    auto shot = std::make_unique<gui::TBitmap>();
    shot->SetPixelFormat(gui::TPixelFormat::pf24bit);
    shot->SetSize(r.right - r.left, r.bottom - r.top);
    const gui::WindowDC screen = gui::WindowDC::Client(nullptr);
    ::BitBlt(shot->Canvas().Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(),
             r.left, r.top, SRCCOPY);
    return shot;
}

int PixelsOfColour(gui::TBitmap& shot, gui::TColor colour) {
    int count = 0;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x)
            count += shot.Canvas().Pixel(x, y) == colour ? 1 : 0;
    return count;
}

void SendMouseClick(int x, int y) {
    ::SetCursorPos(x, y);
    ::Sleep(50);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

void SendAltSpace() {
    INPUT inputs[4] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = VK_MENU;
    inputs[1].ki.wVk = VK_SPACE;
    inputs[2].ki.wVk = VK_SPACE;
    inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[3].ki.wVk = VK_MENU;
    inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(4, inputs, sizeof(INPUT));
}

void StoreSetting(const wchar_t* name, const wchar_t* value) {
    nestora::testing::WriteText(HKEY_CURRENT_USER, kSettingsKey, name, value);
}

bool RunEntryExists() {
    return nestora::testing::ReadText(HKEY_CURRENT_USER, kRunKey, kRunValue).has_value();
}

class SkinnedProgramTest : public EndToEndTest {
protected:
    void TearDown() override {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
        EndToEndTest::TearDown();
    }
    // Opens the tray icon's menu as a right click on the icon does; its window, or null.
    HWND OpenTrayMenu(const ChildProcess& nestora) {
        const HWND tray = nestora.Window(L"TPUtilWindow");
        if (!tray)
            return nullptr;
        // A right click a busy program's queue took before it could open its menu is given
        // again, as a hand would give it; at most three.
        // A menu closed a moment ago (the system menu, the last tray menu) may still be on
        // screen: found in place of the new one, it would take the keys meant for the new one.
        WaitFor([&] { return nestora.Window(L"#32768", true) == nullptr; }, 3000ms);
        HWND menu = nullptr;
        for (int click = 0; click < 3 && !menu; ++click) {
            ::SetCursorPos(700, 500);
            ::PostMessageW(tray, kTrayCallbackMessage, 0, WM_RBUTTONUP);
            WaitFor([&] { return (menu = nestora.Window(L"#32768", true)) != nullptr; }, 5000ms);
        }
        ::Sleep(300); // drawn
        nestora.WaitUntilIdle(3s);
        return menu;
    }
    // Keys into an open menu (its loop takes them from the thread's queue).
    // A key a hand gives an open menu: the next one only once the menu's loop has taken it
    // (a busy machine otherwise lets keys pile up while the menu is still being drawn).
    static void MenuKey(const ChildProcess& owner, HWND menu, WPARAM key) {
        ::PostMessageW(menu, WM_KEYDOWN, key, 0);
        ::PostMessageW(menu, WM_KEYUP, key, 0xC0000000);
        ::Sleep(100);
        owner.WaitUntilIdle(3s);
    }
    static bool Shown(HWND window) { return ::IsWindowVisible(window) != FALSE; }
};

TEST_F(SkinnedProgramTest, TheTrayMenuTheFrameItsButtonsAndTheRunEntryAtExit) {
    const auto nestora = StartNestora();
    ASSERT_TRUE(WaitFor([] { return SettingText(L"Lang").has_value(); }));
    const HWND window = nestora->Window(L"TForm1");
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(Shown(window));

    // The tray menu, drawn by the skin: the DeepBlue bar down its left side.
    HWND menu = OpenTrayMenu(*nestora);
    ASSERT_NE(menu, nullptr);
    const auto menuShot = ScreenPicture(WindowRect(menu));
    KeepScreenshot(*menuShot, "tray-menu");
    // The side bar is 26 pixels wide beside four 21-pixel entries and two 5-pixel
    // separators; the pictures on it cover a little of it.
    EXPECT_GT(PixelsOfColour(*menuShot, 0x00CED3D6), 26 * (4 * 21 + 2 * 5) * 3 / 4)
        << "the grey side bar";
    EXPECT_GT(PixelsOfColour(*menuShot, 0x00FFFFFF), 26 * (4 * 21 + 2 * 5)) << "white entries";
    // Its first entry shows the window.
    MenuKey(*nestora, menu, VK_DOWN);
    MenuKey(*nestora, menu, VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return Shown(window); }));
    ::Sleep(300);

    // The skinned frame: no system caption or border, 170 by 134, the grey MacOS border.
    EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION, 0);
    const RECT r = WindowRect(window);
    EXPECT_EQ(r.right - r.left, 170);
    EXPECT_EQ(r.bottom - r.top, 134);
    const auto russian = ScreenPicture(r);
    KeepScreenshot(*russian, "settings-ru");
    EXPECT_EQ(russian->Canvas().Pixel(0, 60), 0x007F7F7Fu);
    EXPECT_EQ(russian->Canvas().Pixel(169, 60), 0x007F7F7Fu);
    EXPECT_EQ(russian->Canvas().Pixel(80, 133), 0x007F7F7Fu);

    // Shown: the hotkey makes nothing (the field would take the keys).
    Press();
    EXPECT_FALSE(WaitFor([&] { return OnDesktop(L"Новая папка"); }, 1500ms));

    // The help button (left of the minimise button) shows the credits...
    const HWND hotKeyField = ChildOfClass(window, L"THotKey");
    ASSERT_NE(hotKeyField, nullptr);
    ASSERT_TRUE(Shown(hotKeyField));
    SendMouseClick(r.left + 131 + 8, r.top + 4 + 8);
    ASSERT_TRUE(WaitFor([&] { return !Shown(hotKeyField); }, 3000ms));
    ::Sleep(300);
    KeepScreenshot(*ScreenPicture(WindowRect(window)), "credits");
    // ... and a click on them returns.
    SendMouseClick(r.left + 85, r.top + 80);
    EXPECT_TRUE(WaitFor([&] { return Shown(hotKeyField); }, 3000ms));
    EXPECT_TRUE(Shown(window));

    // Alt and the space bar: the frame's own window menu under the title bar.
    SendAltSpace();
    HWND systemMenu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (systemMenu = nestora->Window(L"#32768", true)) != nullptr; },
                        3000ms));
    const RECT m = WindowRect(systemMenu);
    EXPECT_EQ(m.left, r.left);
    EXPECT_EQ(m.top, r.top + 23);
    MenuKey(*nestora, systemMenu, VK_ESCAPE);
    EXPECT_TRUE(WaitFor([&] { return !Shown(systemMenu) || !::IsWindow(systemMenu); }, 3000ms));
    EXPECT_TRUE(Shown(window));

    // The minimise button (at the right end) hides the window to the tray; the hotkey is
    // registered again. The click comes a moment after the menu, as a hand's would: sent
    // while the menu's own loop is still ending (under load), the loop takes it.
    // A click the menu's ending loop still took is given again; at most three.
    bool hidden = false;
    for (int click = 0; click < 3 && !hidden; ++click) {
        ::Sleep(300);
        SendMouseClick(r.left + 149 + 8, r.top + 4 + 8);
        hidden = WaitFor([&] { return !Shown(window); }, 3000ms);
    }
    ASSERT_TRUE(hidden);
    EXPECT_TRUE(nestora->Running());
    Press();
    EXPECT_TRUE(WaitFor([&] { return OnDesktop(L"Новая папка"); }));

    // "Start with Windows" (the third entry the keys reach: show, language, start) checked,
    // then the program ends: the run entry and "StartUp" are written.
    EXPECT_FALSE(RunEntryExists()) << "removed at start";
    menu = OpenTrayMenu(*nestora);
    ASSERT_NE(menu, nullptr);
    for (const WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})
        MenuKey(*nestora, menu, key);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(menu) || !Shown(menu); }, 3000ms));
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(nestora->ExitCode(), 0u);
    EXPECT_EQ(SettingNumber(L"StartUp"), 1u);
    EXPECT_TRUE(RunEntryExists());

    // In English, shown by a double click on the icon. With "StartUp" stored on, the run
    // entry is there while the program runs, not only after a normal end.
    StoreSetting(L"Lang", L"En");
    StoreSetting(L"FolderName", L"New Folder");
    const auto english = StartNestora();
    EXPECT_TRUE(WaitFor([] { return RunEntryExists(); }, 3000ms));
    const HWND englishWindow = english->Window(L"TForm1");
    ASSERT_NE(englishWindow, nullptr);
    ::PostMessageW(english->Window(L"TPUtilWindow"), kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitFor([&] { return Shown(englishWindow); }));
    ::Sleep(300);
    const auto englishShot = ScreenPicture(WindowRect(englishWindow));
    KeepScreenshot(*englishShot, "settings-en");
    EXPECT_EQ(englishShot->Canvas().Pixel(0, 60), 0x007F7F7Fu);
    ::PostMessageW(englishWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(english->ExitCode(), 0u);
    EXPECT_TRUE(RunEntryExists());
}

// The desktop's windows as a press sees them, with windows of this test's own.
class TestWindow {
public:
    TestWindow(const wchar_t* className, HWND parent = nullptr) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        ::RegisterClassExW(&windowClass); // a second registration of a class fails harmlessly
        window_.reset(::CreateWindowExW(0, className, L"", parent ? WS_CHILD : WS_OVERLAPPEDWINDOW,
                                        0, 0, 100, 100, parent, nullptr, windowClass.hInstance,
                                        nullptr));
    }
    HWND get() const { return window_.get(); }

private:
    gui::UniqueWindow window_;
};

TEST(PressWindowsTest, TheDesktopTabsAndMinimisedWindowsAreRecognised) {
    const TestWindow frame(L"CabinetWClass");
    SystemPressWindows windows;
    EXPECT_EQ(windows.ActiveTab(WindowIdOf(frame.get())), 0u); // no tabs
    const TestWindow oldTab(L"TabWindowClass", frame.get());
    EXPECT_EQ(windows.ActiveTab(WindowIdOf(frame.get())), WindowIdOf(oldTab.get()));
    const TestWindow tab(L"ShellTabWindowClass", frame.get());
    EXPECT_EQ(windows.ActiveTab(WindowIdOf(frame.get())), WindowIdOf(tab.get()));

    const TestWindow workerW(L"WorkerW");
    EXPECT_FALSE(windows.IsDesktop(WindowIdOf(workerW.get())));
    const TestWindow view(L"SHELLDLL_DefView", workerW.get());
    EXPECT_TRUE(windows.IsDesktop(WindowIdOf(workerW.get())));
    EXPECT_FALSE(windows.IsDesktop(WindowIdOf(frame.get())));
    EXPECT_FALSE(windows.IsDesktop(0));

    EXPECT_FALSE(windows.IsMinimised(WindowIdOf(frame.get())));
    ::ShowWindow(frame.get(), SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(windows.IsMinimised(WindowIdOf(frame.get())));
    EXPECT_FALSE(windows.IsMinimised(0));
}

} // namespace
} // namespace nestora::app
