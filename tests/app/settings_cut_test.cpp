// Settings a cut write left behind: the program ended between making its settings key and
// writing the last of its four values (a kill, a crash, a power cut on its first start, or
// a second copy reading the key in that moment). The values are written in the order
// "StartUp", "FolderName", "HotKey", "Lang", so a cut leaves the first k of them.
//
// The next start must read what is there, take the window's defaults for the rest, show no
// message, register the hotkey, and store the completed set at once (so a second cut loses
// nothing either); at its end it writes all four. Also CompleteSettings on its own: it only
// ever adds missing values, never replaces one that is there (even of the wrong type).
#include "app/main_window.h"

#include "app/win_file_system.h"
#include "tests/gui/win/app_test_support.h"
#include "tests/support/win/scratch_key.h"

#include <filesystem>

namespace nestora::app {
namespace {

using nestora::testing::ScratchKey;

constexpr wchar_t kSettings[] = L"Software\\Nestora";

class NoDesktop final : public DesktopShell {
public:
    std::wstring DesktopPath() override { return {}; }
    void AnnounceNewFolder(const std::wstring&) override {}
    bool StartRename(const std::wstring&) override { return false; }
};

class CutSettingsTest : public gui::testing::AppTest {
protected:
    void TearDown() override {
        if (form)
            form->Free();
        AppTest::TearDown();
    }
    void Start() {
        AppSeams s;
        s.settings = {user.get(), machine.get()};
        s.hotKey.registerKey = [this](HWND, int, unsigned, unsigned key) {
            registeredKeys.push_back(key);
            return true;
        };
        s.hotKey.unregisterKey = [](HWND, int) {};
        s.shell = [] { return std::unique_ptr<ShellAutomation>(); };
        s.fileSystem = std::make_shared<WindowsFileSystem>();
        s.desktop = std::make_shared<NoDesktop>();
        s.keyNames = [](unsigned key) { return key == 0xC0 ? std::wstring(L"`") : std::wstring(); };
        s.trayShell.notify = [](DWORD, NOTIFYICONDATAW&) { return TRUE; };
        s.runKeys.currentUser = runKeys.get();
        s.runKeys.localMachine = runKeys.get();
        form = gui::Create<TForm1>(app.get(), s);
    }
    void Stop() {
        form->Free();
        form = nullptr;
    }
    // The first `count` values, in the order the program writes them, with values of the
    // user's own (not the defaults).
    void StoreFirst(int count) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(user.get(), kSettings, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
        if (count > 0)
            user.SetNumber(kSettings, L"StartUp", 1);
        if (count > 1)
            user.SetText(kSettings, L"FolderName", L"Мои проекты");
        if (count > 2)
            user.SetText(kSettings, L"HotKey", L"Ctrl+P");
        if (count > 3)
            user.SetText(kSettings, L"Lang", L"En");
    }
    void ExpectStored(int count, const char* when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(user.Number(kSettings, L"StartUp"), count > 0 ? 1u : 0u);
        EXPECT_EQ(user.Text(kSettings, L"FolderName"), count > 1 ? L"Мои проекты" : L"Новая папка");
        EXPECT_EQ(user.Text(kSettings, L"HotKey"), count > 2 ? L"Ctrl+P" : L"Ctrl+`");
        EXPECT_EQ(user.Text(kSettings, L"Lang"), count > 3 ? L"En" : L"Ru");
    }

    ScratchKey user, machine, runKeys;
    std::vector<unsigned> registeredKeys;
    TForm1* form = nullptr;
};

TEST_F(CutSettingsTest, WhatACutWriteLeftIsReadAndTheRestTakesTheDefaultsWithoutAMessage) {
    for (int written = 0; written < 4; ++written) {
        SCOPED_TRACE(::testing::Message() << written << " of the four values written");
        ASSERT_TRUE(::RegDeleteTreeW(user.get(), kSettings) == ERROR_SUCCESS ||
                    !user.Exists(kSettings));
        StoreFirst(written);
        boxes.clear();
        registeredKeys.clear();
        Start();
        EXPECT_TRUE(boxes.empty()) << boxes.front().text;
        EXPECT_EQ(form->MenuStartProgs->Checked(), written > 0);
        EXPECT_EQ(form->EditNameFolder->Text(), written > 1 ? L"Мои проекты" : L"Новая папка");
        EXPECT_EQ(form->EditHotKey->HotKey(), written > 2 ? 0x4050 : 0x40C0);
        EXPECT_EQ(form->CurrentLanguage(), Language::russian);
        // The hotkey works: never "no hotkey" for a value that was merely never written.
        ASSERT_FALSE(registeredKeys.empty());
        EXPECT_EQ(registeredKeys.back(), written > 2 ? 'P' : 0xC0u);
        // Completed at once: a second cut before the end would lose nothing.
        ExpectStored(written, "after the start");
        Stop();
        ExpectStored(written, "after the end");
    }
}

TEST_F(CutSettingsTest, AMissingNameIsCompletedInTheStoredLanguage) {
    user.SetNumber(kSettings, L"StartUp", 0);
    user.SetText(kSettings, L"Lang", L"En");
    Start();
    EXPECT_EQ(form->EditNameFolder->Text(), L"New Folder");
    EXPECT_EQ(user.Text(kSettings, L"FolderName"), L"New Folder");
    Stop();
    EXPECT_EQ(user.Text(kSettings, L"FolderName"), L"New Folder");
}

TEST_F(CutSettingsTest, CompletingAddsOnlyMissingValuesAndNeverMakesAKey) {
    const StoredSettings defaults{0, L"Новая папка", L"Ctrl+`", L"Ru"};
    CompleteSettings({user.get(), machine.get()}, defaults);
    EXPECT_FALSE(user.Exists(kSettings)) << "a missing key stays missing: the first start writes";

    // Present values stay, whatever their type; the missing ones are added.
    user.SetText(kSettings, L"StartUp", L"not a number");
    user.SetText(kSettings, L"HotKey", L"");
    CompleteSettings({user.get(), machine.get()}, defaults);
    EXPECT_EQ(user.Text(kSettings, L"StartUp"), L"not a number");
    EXPECT_EQ(user.Text(kSettings, L"FolderName"), L"Новая папка");
    EXPECT_EQ(user.Text(kSettings, L"HotKey"), L"") << "an empty hotkey is the user's: none";
    EXPECT_EQ(user.Text(kSettings, L"Lang"), L"Ru");

    // The machine's key is only ever read.
    machine.SetText(kSettings, L"Lang", L"En");
    CompleteSettings({HKEY(nullptr), machine.get()}, defaults);
    EXPECT_FALSE(machine.Number(kSettings, L"StartUp"));
}

} // namespace
} // namespace nestora::app
