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
// Also here, as they need the desktop alone: the desktop's windows as a press sees them.
#include "app/win_desktop_shell.h"
#include "app/win_press_windows.h"

#include "gui/win/handles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace nestora::app {
namespace {

constexpr wchar_t kSettings[] = L"Software\\Nestora";

// A path of the build machine as Wine sees it.
std::wstring windowsPath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

bool waitFor(const std::function<bool()>& done, int milliseconds = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found = nullptr;
};

// A named callback: 32-bit Windows calls it with the stdcall convention, which a lambda
// does not convert to.
BOOL CALLBACK findProcessWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (owner == search.processId && ::lstrcmpW(name, search.className) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

class Process {
public:
    explicit Process(const std::wstring& exe, const std::wstring& arguments = L"") {
        std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &info)) {
            process_.reset(info.hProcess);
            thread_.reset(info.hThread);
            id_ = info.dwProcessId;
        }
    }
    ~Process() {
        if (process_ && running())
            ::TerminateProcess(process_.get(), 99);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    DWORD id() const { return id_; }
    bool running() const { return ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
    // The exit code once ended within the time, else nothing.
    std::optional<DWORD> exitCode(int milliseconds = 10000) const {
        if (::WaitForSingleObject(process_.get(), static_cast<DWORD>(milliseconds)) !=
            WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(process_.get(), &code);
        return code;
    }
    // The process's top-level window of this class, or null.
    HWND window(const wchar_t* className) const {
        WindowSearch search{id_, className};
        ::EnumWindows(findProcessWindow, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

private:
    gui::UniqueKernelHandle process_, thread_;
    DWORD id_ = 0;
};

std::optional<std::wstring> settingText(const wchar_t* name) {
    wchar_t buffer[512] = {};
    DWORD size = sizeof buffer;
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettings, name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(buffer);
}

std::optional<DWORD> settingNumber(const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, kSettings, name, RRF_RT_REG_DWORD, nullptr, &value,
                       &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettings);
        desktop = registeredDesktopPath(HKEY_CURRENT_USER);
        if (desktop.empty())
            desktop = knownDesktopPath();
        ASSERT_FALSE(desktop.empty());
        std::filesystem::create_directories(desktop);
        RemoveMadeFolders();
    }
    void TearDown() override {
        RemoveMadeFolders();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettings);
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
        Process helper(windowsPath(NESTORA_PRESS_HOTKEY_EXE));
        ASSERT_TRUE(helper.started());
        EXPECT_EQ(helper.exitCode(), 0u);
    }
    // Starts the program and waits until its window is made and its settings are in place.
    std::unique_ptr<Process> StartNestora() {
        auto nestora = std::make_unique<Process>(windowsPath(NESTORA_EXE));
        EXPECT_TRUE(nestora->started());
        EXPECT_TRUE(waitFor([&] { return nestora->window(L"TForm1") != nullptr; }));
        ::WaitForInputIdle(::OpenProcess(SYNCHRONIZE, FALSE, nestora->id()), 5000);
        return nestora;
    }

    std::wstring desktop;
};

TEST_F(EndToEndTest, APressMakesANewFolderOnTheDesktopAndASecondCopyStepsAside) {
    const auto nestora = StartNestora();
    // First start: the defaults are stored.
    ASSERT_TRUE(waitFor([] { return settingText(L"Lang").has_value(); }));
    EXPECT_EQ(settingText(L"FolderName"), L"Новая папка");
    EXPECT_EQ(settingText(L"Lang"), L"Ru");
    const HWND mainWindow = nestora->window(L"TForm1");
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_FALSE(::IsWindowVisible(mainWindow));          // it lives in the tray
    EXPECT_NE(nestora->window(L"TPUtilWindow"), nullptr); // the tray icon's window

    Press();
    EXPECT_TRUE(waitFor([&] { return OnDesktop(L"Новая папка"); }));
    Press();
    EXPECT_TRUE(waitFor([&] { return OnDesktop(L"Новая папка (2)"); }));

    // A second copy: its message, then it ends by itself with exit code 0.
    Process second(windowsPath(NESTORA_EXE));
    ASSERT_TRUE(second.started());
    // The box's window comes before its text: wait for both.
    HWND box = nullptr;
    wchar_t text[256] = {};
    ASSERT_TRUE(waitFor([&] {
        box = second.window(L"#32770");
        return box && ::GetDlgItemTextW(box, 0xFFFF, text, 256) > 0;
    }));
    EXPECT_STREQ(text, L"Application \"Nestora\" is already running.");
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(second.exitCode(), 0u);
    EXPECT_EQ(nestora->window(L"TForm1"), mainWindow);
    EXPECT_TRUE(nestora->running());

    // The first copy still answers the hotkey.
    Press();
    EXPECT_TRUE(waitFor([&] { return OnDesktop(L"Новая папка (3)"); }));

    // Closing the window writes the settings.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kSettings);
    ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(nestora->exitCode(), 0u);
    EXPECT_EQ(settingNumber(L"StartUp"), 0u);
    EXPECT_EQ(settingText(L"FolderName"), L"Новая папка");
    const auto hotKey = settingText(L"HotKey");
    ASSERT_TRUE(hotKey);
    EXPECT_TRUE(hotKey->starts_with(L"Ctrl+") && hotKey->size() > 5) << *hotKey;
    EXPECT_EQ(settingText(L"Lang"), L"Ru");
}

TEST_F(EndToEndTest, WithEnglishStoredTheFolderIsANewFolder) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSettings, 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const gui::UniqueKey settings(key);
    const DWORD startUp = 0;
    ::RegSetValueExW(key, L"StartUp", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&startUp),
                     sizeof startUp);
    // No name of its own: the language's default name is the one used.
    for (const auto& [name, value] :
         {std::pair{L"FolderName", L""}, std::pair{L"HotKey", L"^`"}, std::pair{L"Lang", L"En"}})
        ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));

    const auto nestora = StartNestora();
    Press();
    EXPECT_TRUE(waitFor([&] { return OnDesktop(L"New Folder"); }));
    EXPECT_FALSE(OnDesktop(L"Новая папка"));
    ::PostMessageW(nestora->window(L"TForm1"), WM_CLOSE, 0, 0);
    EXPECT_EQ(nestora->exitCode(), 0u);
    EXPECT_EQ(settingText(L"Lang"), L"En");
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
    SystemPressWindows windows(nullptr);
    EXPECT_EQ(windows.activeTab(windowIdOf(frame.get())), 0u); // no tabs
    const TestWindow oldTab(L"TabWindowClass", frame.get());
    EXPECT_EQ(windows.activeTab(windowIdOf(frame.get())), windowIdOf(oldTab.get()));
    const TestWindow tab(L"ShellTabWindowClass", frame.get());
    EXPECT_EQ(windows.activeTab(windowIdOf(frame.get())), windowIdOf(tab.get()));

    const TestWindow workerW(L"WorkerW");
    EXPECT_FALSE(windows.isDesktop(windowIdOf(workerW.get())));
    const TestWindow view(L"SHELLDLL_DefView", workerW.get());
    EXPECT_TRUE(windows.isDesktop(windowIdOf(workerW.get())));
    EXPECT_FALSE(windows.isDesktop(windowIdOf(frame.get())));
    EXPECT_FALSE(windows.isDesktop(0));

    const int before = windows.minimisedWindowCount();
    ::ShowWindow(frame.get(), SW_SHOWMINNOACTIVE);
    EXPECT_EQ(windows.minimisedWindowCount(), before + 1);
    // The program's own taskbar window is never counted.
    SystemPressWindows excluding(frame.get());
    EXPECT_EQ(excluding.minimisedWindowCount(), before);
}

} // namespace
} // namespace nestora::app
