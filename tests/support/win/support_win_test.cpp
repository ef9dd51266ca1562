// The support library against the system, under Wine: a started program's exit code, the
// owner ending a program left running, copies made suspended, windows found by process
// and class, message boxes read and closed, waiting that keeps this thread's windows
// answering, a burst of hotkey presses through SendInput, the stand-in tray, and registry
// values with their types and scratch keys.
#include "tests/support/core/windows_path.h"
#include "tests/support/win/child_process.h"
#include "tests/support/win/keyboard_input.h"
#include "tests/support/win/process_windows.h"
#include "tests/support/win/registry_values.h"
#include "tests/support/win/scratch_key.h"
#include "tests/support/win/test_tray.h"
#include "tests/support/win/waiting.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>

namespace nestora::testing {
namespace {

constexpr wchar_t kProbeClass[] = L"NestoraSupportProbe";

std::wstring ProbeExe() {
    return WindowsPathOf(NESTORA_SUPPORT_PROBE_EXE);
}

// A window of this test that counts the messages it is given.
class CountingWindow {
public:
    explicit CountingWindow(const wchar_t* className) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        ::RegisterClassW(&windowClass);
        window_.reset(::CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        windowClass.hInstance, nullptr));
        ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CountingWindow() { ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0); }
    CountingWindow(const CountingWindow&) = delete;
    CountingWindow& operator=(const CountingWindow&) = delete;

    HWND get() const { return window_.get(); }
    int count(UINT message) const {
        int n = 0;
        for (const UINT m : seen_)
            n += m == message ? 1 : 0;
        return n;
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (auto* self =
                reinterpret_cast<CountingWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA)))
            self->seen_.push_back(message);
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    gui::UniqueWindow window_;
    std::vector<UINT> seen_;
};

TEST(ChildProcessTest, AnEndedProgramGivesItsExitCodeAndOneLeftRunningIsEndedByItsOwner) {
    ChildProcess quick(ProbeExe(), {L"exit 7"});
    ASSERT_TRUE(quick.Started());
    EXPECT_EQ(quick.ExitCode(), 7u);
    EXPECT_FALSE(quick.Running());
    EXPECT_FALSE(quick.Kill()) << "nothing left to end";

    gui::UniqueKernelHandle watch;
    {
        ChildProcess lasting(ProbeExe(), {L"window"});
        ASSERT_TRUE(lasting.Started());
        ASSERT_NE(lasting.WaitForWindow(kProbeClass), nullptr);
        watch.reset(
            ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, lasting.Id()));
        ASSERT_TRUE(watch);
        EXPECT_EQ(lasting.ExitCode(200ms), std::nullopt) << "still running";
    }
    // The owner has gone: so has the program, with the test's own exit code.
    ASSERT_EQ(::WaitForSingleObject(watch.get(), 0), WAIT_OBJECT_0);
    DWORD code = 0;
    ::GetExitCodeProcess(watch.get(), &code);
    EXPECT_EQ(code, kEndedByTest);

    // Started from a whole command line, as the "Apps" list runs a program.
    auto whole = ChildProcess::FromCommandLine(L"\"" + ProbeExe() + L"\" exit 9");
    EXPECT_EQ(whole.ExitCode(), 9u);
    // One adopted by its id is ended when its owner goes, like one started.
    ChildProcess original(ProbeExe(), {L"window"});
    ASSERT_NE(original.WaitForWindow(kProbeClass), nullptr);
    {
        const auto adopted = ChildProcess::Adopt(original.Id());
        EXPECT_TRUE(adopted.Running());
    }
    EXPECT_EQ(original.ExitCode(), kEndedByTest);

    ChildProcess missing(L"Z:\\no\\such\\program.exe");
    EXPECT_FALSE(missing.Started());
    EXPECT_FALSE(missing.Running());
    EXPECT_EQ(missing.ExitCode(10ms), std::nullopt);
}

TEST(ChildProcessTest, ASuspendedCopyDoesNothingUntilResumedAndAKilledOneGoesAtOnce) {
    ChildProcess copy(ProbeExe(), {L"window", true});
    ASSERT_TRUE(copy.Started());
    PumpFor(300ms);
    EXPECT_EQ(copy.Window(kProbeClass), nullptr);
    ASSERT_TRUE(copy.Resume());
    const HWND window = copy.WaitForWindow(kProbeClass);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(copy.Kill(5));
    EXPECT_FALSE(copy.Running());
    EXPECT_EQ(copy.ExitCode(0ms), 5u);
    EXPECT_FALSE(::IsWindow(window)) << "its window went with it";
}

TEST(ProcessWindowsTest, WindowsAreFoundByProcessAndClassAndABoxIsReadAndClosed) {
    // A window of the same class in this process is not the probe's.
    const CountingWindow own(kProbeClass);
    ChildProcess probe(ProbeExe(), {L"window"});
    const HWND theirs = probe.WaitForWindow(kProbeClass);
    ASSERT_NE(theirs, nullptr);
    EXPECT_NE(theirs, own.get());
    EXPECT_EQ(ProcessWindows({probe.Id(), kProbeClass}), std::vector<HWND>{theirs});
    EXPECT_EQ(ProcessWindows({::GetCurrentProcessId(), kProbeClass}), std::vector<HWND>{own.get()});
    // Hidden: not found when only visible ones are asked for.
    EXPECT_EQ(ProcessWindow({probe.Id(), kProbeClass, true}), nullptr);
    EXPECT_EQ(ProcessWindow({probe.Id(), kMessageBoxClass}), nullptr);

    ChildProcess boxed(ProbeExe(), {L"box \"Something went wrong.\""});
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        box = boxed.Window(kMessageBoxClass);
        return box && !MessageBoxText(box).empty();
    }));
    EXPECT_EQ(MessageBoxText(box), L"Something went wrong.");
    PressOk(box);
    EXPECT_EQ(boxed.ExitCode(), 0u);
}

TEST(WaitingTest, AWaitEndsAtItsDeadlineAndThisThreadsWindowsAnswerMeanwhile) {
    const CountingWindow window(L"NestoraSupportCounting");
    constexpr UINT kPoke = WM_APP + 5;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitFor([] { return false; }, 300ms));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 2s);

    // A message for a window of this thread arrives while waiting, without a loop of ours.
    ::PostMessageW(window.get(), kPoke, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return window.count(kPoke) == 1; }, 2s));
    ::PostMessageW(window.get(), kPoke, 0, 0);
    PumpFor(100ms);
    EXPECT_EQ(window.count(kPoke), 2);
}

TEST(KeyboardInputTest, PressesAreModifiersKeyAndReleaseInOrderAndABurstReachesAHotKey) {
    const std::vector<INPUT> two = PressesOf({{VK_CONTROL, VK_SHIFT}, 'F'}, 2);
    ASSERT_EQ(two.size(), 12u);
    const WORD keys[] = {VK_CONTROL, VK_SHIFT, 'F', 'F', VK_SHIFT, VK_CONTROL};
    const bool up[] = {false, false, false, true, true, true};
    for (std::size_t i = 0; i < two.size(); ++i) {
        EXPECT_EQ(two[i].type, static_cast<DWORD>(INPUT_KEYBOARD));
        EXPECT_EQ(two[i].ki.wVk, keys[i % 6]) << i;
        EXPECT_EQ((two[i].ki.dwFlags & KEYEVENTF_KEYUP) != 0, up[i % 6]) << i;
    }

    // Fifty presses of the default combination in one call: fifty WM_HOTKEY.
    const CountingWindow window(L"NestoraSupportHotKey");
    ASSERT_TRUE(::RegisterHotKey(window.get(), 7, MOD_CONTROL | MOD_NOREPEAT, VK_OEM_3));
    std::vector<INPUT> burst = PressesOf(kDefaultHotKey, 50);
    EXPECT_EQ(SendInputs(burst), 200u);
    EXPECT_TRUE(WaitFor([&] { return window.count(WM_HOTKEY) == 50; }, 10s))
        << window.count(WM_HOTKEY);
    PumpFor(200ms);
    EXPECT_EQ(window.count(WM_HOTKEY), 50);
    ::UnregisterHotKey(window.get(), 7);
}

NOTIFYICONDATAW IconData(HWND window, UINT id, const wchar_t* tip) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = NIF_TIP;
    ::lstrcpynW(data.szTip, tip, 128);
    return data;
}

TEST(TestTrayTest, HoldsIconsAsTheShellDoesAndARestartForgetsThemAndTellsEveryWindow) {
    TestTray tray;
    ASSERT_TRUE(tray.first());
    const CountingWindow owner(L"NestoraSupportTrayOwner");
    const DWORD self = ::GetCurrentProcessId();

    NOTIFYICONDATAW data = IconData(owner.get(), 3, L"first tip");
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_ADD, &data));
    EXPECT_EQ(tray.IconsOf(self), 1);
    EXPECT_EQ(tray.TipOf(self), L"first tip");
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_ADD, &data)) << "a duplicate is refused";
    EXPECT_EQ(tray.IconsOf(self), 1);
    data = IconData(owner.get(), 3, L"second tip");
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &data));
    EXPECT_EQ(tray.TipOf(self), L"second tip");
    NOTIFYICONDATAW other = IconData(owner.get(), 4, L"");
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_MODIFY, &other)) << "never added";
    EXPECT_EQ(tray.RequestsFrom(self, NIM_ADD), 2);
    EXPECT_EQ(tray.RequestsFrom(self, NIM_MODIFY), 2);

    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    tray.Restart();
    EXPECT_TRUE(tray.first());
    EXPECT_EQ(tray.IconsOf(self), 0);
    EXPECT_EQ(tray.RequestsFrom(self, NIM_ADD), 0);
    EXPECT_TRUE(WaitFor([&] { return owner.count(taskbarCreated) == 1; }, 2s));
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_ADD, &data)) << "the new tray takes it again";
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_FALSE(::Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_EQ(tray.IconsOf(self), 0);
}

TEST(RegistryValuesTest, ValuesKeepTheirTypesAndAKeyGoesWithEverythingBelowIt) {
    const std::wstring key =
        L"Software\\NestoraTests\\support-" + std::to_wstring(::GetCurrentProcessId());
    ASSERT_TRUE(DeleteKey(HKEY_CURRENT_USER, key.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key.c_str()));
    EXPECT_TRUE(ValuesOf(HKEY_CURRENT_USER, key.c_str()).empty());

    ASSERT_TRUE(WriteText(HKEY_CURRENT_USER, key.c_str(), L"Name", L"Новая папка"));
    ASSERT_TRUE(WriteNumber(HKEY_CURRENT_USER, key.c_str(), L"Count", 7));
    ASSERT_TRUE(WriteText(HKEY_CURRENT_USER, (key + L"\\Below").c_str(), L"X", L""));
    const auto name = ReadValue(HKEY_CURRENT_USER, key.c_str(), L"Name");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->Text(), L"Новая папка");
    EXPECT_EQ(name->Number(), std::nullopt);
    const auto count = ReadValue(HKEY_CURRENT_USER, key.c_str(), L"Count");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->Number(), 7u);
    EXPECT_EQ(count->Text(), std::nullopt);
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, key.c_str(), L"Missing"), std::nullopt);
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, key.c_str(), L"Name"), L"Новая папка");
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, key.c_str(), L"Count"), std::nullopt);
    EXPECT_EQ(ReadNumber(HKEY_CURRENT_USER, key.c_str(), L"Count"), 7u);
    EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, key.c_str()).size(), 2u);
    // A text stored without its terminating zero reads the same.
    RegistryValue unterminated = TextValue(L"abc");
    unterminated.bytes.resize(3 * sizeof(wchar_t));
    EXPECT_EQ(unterminated.Text(), L"abc");

    EXPECT_TRUE(DeleteKey(HKEY_CURRENT_USER, key.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key.c_str()));

    // A scratch key: apart from any other made at the same time, and gone with everything
    // below it when its owner goes.
    std::wstring scratchPath;
    {
        const ScratchKey scratch;
        scratchPath = scratch.path();
        EXPECT_NE(ScratchKey().path(), scratchPath);
        scratch.SetText(L"A\\B", L"Name", L"x");
        scratch.SetNumber(L"A", L"Count", 3);
        EXPECT_TRUE(scratch.Exists(L"A\\B"));
        EXPECT_EQ(scratch.Text(L"A\\B", L"Name"), L"x");
        EXPECT_EQ(scratch.Number(L"A\\B", L"Name"), std::nullopt);
        EXPECT_EQ(scratch.Number(L"A", L"Count"), 3u);
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, scratchPath.c_str()));
    }
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, scratchPath.c_str()));
}

} // namespace
} // namespace nestora::testing
