// From WM_HOTKEY to the new directory existing: the real main window (TForm1 from the
// program's own description) with the stand-in shell object of 10 folder windows, the
// focused one a real window of this program in the middle of the collection, the real
// desktop-window count and the real file system; against a bare CreateDirectoryW of the
// same path in the same run. The hotkey message is posted and the message loop pumped, as
// the system delivers it; the directory is removed again after every run.
#include "gui/win/graphics_win32.h"

#include "bench/bench_stats.h"

#include "app/main_window.h"
#include "app/win_file_system.h"
#include "app/win_shell_automation.h"

#include "gui/win/application.h"
#include "gui/win/handles.h"

#include "tests/support/win/scratch_key.h"
#include "tests/support/win/stand_in_shell.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

using namespace nestora;

class NoDesktop final : public app::DesktopShell {
public:
    std::wstring DesktopPath() override { return {}; }
    void AnnounceNewFolder(const std::wstring&) override {}
    bool StartRename(const std::wstring&) override { return false; }
};

bool DirectoryExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FileUrl(std::wstring path) {
    for (auto& c : path) {
        if (c == L'\\')
            c = L'/';
    }
    return L"file:///" + path;
}

// A plain window of this program, brought to the front to play the focused Explorer.
nestora::gui::UniqueWindow FocusedWindow() {
    nestora::gui::UniqueWindow window(
        ::CreateWindowExW(0, L"STATIC", L"Explorer stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                          10, 200, 100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ::SetForegroundWindow(window.get());
    return window;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 101;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        (L"nestora-bench-press-" + std::to_wstring(::GetCurrentProcessId()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);

    nestora::gui::TApplication application;
    application.Initialize();
    const nestora::gui::UniqueWindow focused = FocusedWindow();
    const HWND foreground = ::GetForegroundWindow();
    if (foreground != focused.get())
        std::printf("note: the stand-in window did not get the focus; the focused window is "
                    "%p\n",
                    static_cast<void*>(foreground));

    auto windows = testing::MadeUpWindows(10);
    windows[5] = {reinterpret_cast<std::uintptr_t>(foreground), FileUrl(folder.wstring())};
    auto calls = std::make_shared<testing::AutomationCalls>();
    const auto shellObject = testing::MakeStandInShell(calls, windows);

    const testing::ScratchKey settings;
    app::AppSeams seams = app::SystemSeams();
    seams.settings = {settings.get(), settings.get()};
    seams.hotKey.registerKey = [](HWND, int, unsigned, unsigned) { return true; };
    seams.hotKey.unregisterKey = [](HWND, int) {};
    seams.shell = [shellObject] { return app::ShellAutomationOver(shellObject); };
    seams.fileSystem = std::make_shared<app::WindowsFileSystem>();
    seams.desktop = std::make_shared<NoDesktop>();
    seams.trayShell.notify = [](DWORD, NOTIFYICONDATAW&) { return TRUE; };
    seams.runKeys.currentUser = settings.get();
    seams.runKeys.localMachine = settings.get();
    app::TForm1* form = nestora::gui::Create<app::TForm1>(&application, std::move(seams));
    const HWND formWindow = form->Handle();
    const WPARAM hotKeyId = static_cast<WPARAM>(form->HotKeyId());

    // The first press tells the path a press makes.
    const long callsBefore = calls->Invokes();
    ::PostMessageW(formWindow, WM_HOTKEY, hotKeyId, 0);
    application.ProcessMessages();
    std::wstring made;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        made = entry.path().wstring();
    const long callsPerPress = calls->Invokes() - callsBefore;
    if (made.empty()) {
        std::printf("the press made no folder in %ls\n", folder.c_str());
        form->Free();
        return 1;
    }
    ::RemoveDirectoryW(made.c_str());

    bool timedOut = false;
    auto waitFor = [&](const std::wstring& path) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!DirectoryExists(path)) {
            if (std::chrono::steady_clock::now() > end) {
                timedOut = true;
                return;
            }
            application.ProcessMessages();
        }
    };
    const auto samples =
        bench::TimeInTurns(rounds, {[&] {
                                        ::PostMessageW(formWindow, WM_HOTKEY, hotKeyId, 0);
                                        waitFor(made);
                                        ::RemoveDirectoryW(made.c_str());
                                    },
                                    [&] {
                                        ::CreateDirectoryW(made.c_str(), nullptr);
                                        waitFor(made);
                                        ::RemoveDirectoryW(made.c_str());
                                    }});
    form->Free();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);

    const auto medians = bench::MediansOf(samples);
    bench::Table table({"10 shell windows", "us (median)"});
    table.AddRow(
        {"WM_HOTKEY to the directory existing (with its removal)", bench::Fixed(medians[0], 0)});
    table.AddRow(
        {"bare CreateDirectoryW of the same path (with its removal)", bench::Fixed(medians[1], 0)});
    table.AddRow(
        {"overhead ratio press / bare", bench::Fixed(bench::Ratio(medians[0], medians[1]), 2)});
    std::printf("Hotkey to folder (median of %d runs in turns; late-bound calls per press: %ld)\n\n"
                "%s\n",
                rounds, callsPerPress, table.Render().c_str());
    return timedOut ? 1 : 0;
}
