// The real main window, TForm1, hosted in the test's own process for the reliability
// cases that need a finer look than a process from outside allows: its settings in
// scratch registry keys (the user's and the machine's), the hotkey calls recorded, no
// Explorer window anywhere (every press goes to the desktop), the desktop a scratch
// folder, the tray requests answered as accepted, message boxes recorded.
#pragma once

#include "app/main_window.h"
#include "app/win_file_system.h"

#include "tests/app/main_window_stand_ins.h"
#include "tests/gui/win/app_test_support.h"
#include "tests/support/win/registry_values.h"
#include "tests/support/win/scratch_key.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace nestora::reliability {

using app::NoExplorerWindows;
using app::ScratchDesktop;
using testing::kSettingsKey;

// The application makes its main form without arguments (CreateForm); this one takes the
// seams the host leaves for it, so that the tray icon shows, hides and minimises it.
class HostedMainForm : public app::TForm1 {
public:
    static inline std::optional<app::AppSeams> nextSeams;
    explicit HostedMainForm(gui::TComponent* owner) : app::TForm1(owner, TakeSeams()) {}

private:
    static app::AppSeams TakeSeams() {
        app::AppSeams seams = std::move(nextSeams).value();
        nextSeams.reset();
        return seams;
    }
};

class MainWindowHost : public gui::testing::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        const auto base = std::filesystem::temp_directory_path() /
                          (L"nestora-reliability-" + std::to_wstring(::GetCurrentProcessId()));
        desktopFolder = base / L"Desktop";
        std::filesystem::create_directories(desktopFolder);
        desktop = std::make_shared<ScratchDesktop>(desktopFolder.wstring());
    }
    void TearDown() override {
        if (form)
            form->Free();
        form = nullptr;
        AppTest::TearDown();
        std::error_code ignored;
        std::filesystem::remove_all(desktopFolder.parent_path(), ignored);
    }

    app::AppSeams Seams() {
        app::AppSeams s;
        s.settings = {user.get(), machine.get()};
        s.hotKey.registerKey = [this](HWND, int id, unsigned modifiers, unsigned key) {
            // The hotkey's own identifier is 8 bits; the selection key (the hotkey with
            // Shift) is registered beside it under one above.
            (id <= 0xFF ? registrations : selectionRegistrations)
                .push_back((modifiers << 16) | key);
            return true;
        };
        s.hotKey.unregisterKey = [](HWND, int) {};
        s.shell = [] { return std::unique_ptr<app::ShellAutomation>(); };
        s.pressWindows = [](HWND) -> std::unique_ptr<app::PressWindows> {
            return std::make_unique<NoExplorerWindows>();
        };
        s.fileSystem = std::make_shared<app::WindowsFileSystem>();
        s.desktop = desktop;
        s.keyNames = [](unsigned key) { return key == 0xC0 ? std::wstring(L"`") : std::wstring(); };
        s.trayShell.notify = [](DWORD, NOTIFYICONDATAW&) { return TRUE; };
        s.runKeys.currentUser = runKeys.get();
        s.runKeys.localMachine = runKeys.get();
        return s;
    }

    app::TForm1& Start() {
        form = gui::Create<app::TForm1>(app.get(), Seams());
        return *form;
    }
    app::TForm1& StartAsMainForm() {
        HostedMainForm::nextSeams = Seams();
        form = app->CreateForm<HostedMainForm>();
        return *form;
    }
    void Stop() {
        form->Free();
        form = nullptr;
    }
    // A press of the hotkey as the window receives it.
    void Press() { ::SendMessageW(form->Handle(), WM_HOTKEY, form->HotKeyId(), 0); }

    // Everything in the scratch desktop folder, sorted.
    std::vector<std::wstring> DesktopEntries() const {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(desktopFolder))
            names.push_back(entry.path().filename().wstring());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Everything beside the desktop folder (where a name climbing out would land).
    std::vector<std::wstring> EntriesBesideDesktop() const {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(desktopFolder.parent_path()))
            if (entry.path().filename() != desktopFolder.filename())
                names.push_back(entry.path().filename().wstring());
        return names;
    }
    void EmptyDesktop() {
        for (const auto& entry : std::filesystem::directory_iterator(desktopFolder))
            std::filesystem::remove_all(entry.path());
    }
    std::vector<std::wstring> BoxTexts() const {
        std::vector<std::wstring> texts;
        for (const auto& box : boxes)
            texts.push_back(box.text);
        return texts;
    }

    testing::ScratchKey user, machine, runKeys;
    std::filesystem::path desktopFolder;
    std::shared_ptr<ScratchDesktop> desktop;
    std::vector<unsigned> registrations;          // modifiers << 16 | key
    std::vector<unsigned> selectionRegistrations; // the same, of the selection key
    app::TForm1* form = nullptr;
};

} // namespace nestora::reliability
