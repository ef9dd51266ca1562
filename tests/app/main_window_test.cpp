// The real main window, TForm1, made from the program's own description resource, with
// its settings in scratch registry keys, the hotkey calls recorded and the desktop in a
// scratch folder: the controls and their places, the menu, the settings read and written,
// showing and hiding, the credits view, the name check, the languages, a hotkey press and
// the end of the session.
#include "app/unit1.h"

#include "app/win_file_system.h"
#include "scratch_registry.h"
#include "tests/gui/win/app_test_support.h"

#include <filesystem>
#include <vector>

namespace nestora::app {
namespace {

using testing::ScratchKey;

constexpr wchar_t kSettings[] = L"Software\\Nestora";

struct HotKeyCall {
    bool registered; // false: unregistered
    int id;
    unsigned modifiers;
    unsigned key;
    friend bool operator==(const HotKeyCall&, const HotKeyCall&) = default;
};

class ScratchDesktop final : public DesktopShell {
public:
    explicit ScratchDesktop(std::wstring folder) : folder_(std::move(folder)) {}
    std::wstring desktopPath() override { return folder_; }
    void announceNewFolder(const std::wstring&) override {}
    bool startRename(const std::wstring& path) override {
        renamed.push_back(path);
        return true;
    }
    std::vector<std::wstring> renamed;

private:
    std::wstring folder_;
};

// No Explorer window anywhere: every press goes to the desktop.
class NoWindows final : public PressWindows {
public:
    int minimisedWindowCount() override { return 0; }
    WindowId foregroundWindow() override { return 0; }
    bool isDesktop(WindowId) override { return false; }
    WindowId activeTab(WindowId) override { return 0; }
};

std::wstring ExeFileName() {
    const std::wstring path = gui::TApplication::ExeName();
    return path.substr(path.find_last_of(L"\\/") + 1);
}

class MainWindowTest : public gui::testing::AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        desktopFolder = std::filesystem::temp_directory_path() /
                        (L"nestora-desktop-" + std::to_wstring(::GetCurrentProcessId()));
        std::filesystem::create_directories(desktopFolder);
        desktop = std::make_shared<ScratchDesktop>(desktopFolder.wstring());
    }
    void TearDown() override {
        if (form)
            form->Free();
        AppTest::TearDown();
        std::error_code ignored;
        std::filesystem::remove_all(desktopFolder, ignored);
    }

    AppSeams seams() {
        AppSeams s;
        s.settings = {user.get(), machine.get()};
        s.hotKey.registerKey = [this](HWND, int id, unsigned modifiers, unsigned key) {
            hotKeyCalls.push_back({true, id, modifiers, key});
            return true;
        };
        s.hotKey.unregisterKey = [this](HWND, int id) { hotKeyCalls.push_back({false, id, 0, 0}); };
        s.shell = [] { return std::unique_ptr<ShellAutomation>(); };
        s.pressWindows = [](HWND) -> std::unique_ptr<PressWindows> {
            return std::make_unique<NoWindows>();
        };
        s.fileSystem = std::make_shared<WindowsFileSystem>();
        s.desktop = desktop;
        // The layout's name of the key left of 1, whatever layout Wine has.
        s.keyNames = [](unsigned key) { return key == 0xC0 ? std::wstring(L"`") : std::wstring(); };
        s.trayShell.notify = [this](DWORD message, NOTIFYICONDATAW& data) {
            trayRequests.push_back({message, data.szTip});
            return TRUE;
        };
        s.runKeys.currentUser = runKeys.get();
        s.runKeys.localMachine = runKeys.get();
        return s;
    }

    TForm1& Start() {
        form = gui::Create<TForm1>(app.get(), seams());
        return *form;
    }
    void Stop() {
        form->Free();
        form = nullptr;
    }
    void Store(const std::wstring& folderName, const std::wstring& hotKey, const std::wstring& lang,
               std::uint32_t startUp = 0) {
        user.setNumber(kSettings, L"StartUp", startUp);
        user.setText(kSettings, L"FolderName", folderName);
        user.setText(kSettings, L"HotKey", hotKey);
        user.setText(kSettings, L"Lang", lang);
    }
    std::vector<std::wstring> DesktopFolders() const {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(desktopFolder))
            names.push_back(entry.path().filename().wstring());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::wstring MenuCaption(int position) const {
        return form->PopupMenu->Items().Items(position)->Caption();
    }
    std::vector<std::wstring> BoxTexts() const {
        std::vector<std::wstring> texts;
        for (const auto& box : boxes)
            texts.push_back(box.text);
        return texts;
    }

    struct TrayRequest {
        DWORD message;
        std::wstring tip;
    };

    ScratchKey user, machine, runKeys;
    std::vector<TrayRequest> trayRequests;
    std::filesystem::path desktopFolder;
    std::shared_ptr<ScratchDesktop> desktop;
    std::vector<HotKeyCall> hotKeyCalls;
    TForm1* form = nullptr;
};

using Texts = std::vector<std::wstring>;

TEST_F(MainWindowTest, TheControlsSitInTheirPlacesInsideTheFrame) {
    TForm1& f = Start();
    EXPECT_EQ(f.Name(), L"Form1");
    EXPECT_EQ(f.Left(), 295);
    EXPECT_EQ(f.Top(), 115);
    EXPECT_EQ(f.ClientWidth(), 170);
    EXPECT_EQ(f.ClientHeight(), 134);
    EXPECT_EQ(f.BorderStyle(), gui::TFormBorderStyle::bsSingle);
    EXPECT_EQ(f.BorderIcons(),
              gui::BorderIconBit(gui::biSystemMenu) | gui::BorderIconBit(gui::biMinimize));
    EXPECT_EQ(f.Constraints().MinWidth(), 130);
    EXPECT_FALSE(f.Visible());

    EXPECT_EQ(f.FormMain->Parent(), &f);
    EXPECT_EQ(f.FormMain->BoundsRect(), (gui::TRect{1, 0, 169, 133}));
    EXPECT_EQ(f.FormMain->Color(), 0x00E7E7E7u);
    for (gui::TControl* control :
         std::vector<gui::TControl*>{f.Label1, f.Label2, f.Label3, f.EditHotKey, f.EditNameFolder})
        EXPECT_EQ(control->Parent(), f.FormMain) << control->Name();
    EXPECT_EQ(f.Label1->BoundsRect(), (gui::TRect{20, 32, 149, 45}));
    EXPECT_EQ(f.EditHotKey->BoundsRect(), (gui::TRect{20, 48, 149, 69}));
    EXPECT_EQ(f.Label2->BoundsRect(), (gui::TRect{20, 72, 149, 85}));
    EXPECT_EQ(f.EditNameFolder->BoundsRect(), (gui::TRect{20, 88, 149, 109}));
    EXPECT_EQ(f.Label3->Left(), 23);
    EXPECT_EQ(f.Label3->Top(), 117);
    EXPECT_TRUE(f.Label3->AutoSize());
    EXPECT_EQ(f.Label3->Caption(), L"Version 1.0   11.2004");
    EXPECT_EQ(f.Label3->Font().Color(), 0x00C08000u);

    EXPECT_TRUE(f.Label1->WordWrap());
    EXPECT_FALSE(f.Label2->WordWrap());
    EXPECT_EQ(f.Label1->Alignment(), gui::TAlignment::taCenter);
    EXPECT_EQ(f.Label1->Color(), 0x00BF9857u);
    EXPECT_EQ(f.Label1->Font().Style(), gui::TFontStyles{gui::fsBold});
    EXPECT_EQ(f.EditHotKey->HotKey(), 0x40C0);
    EXPECT_EQ(f.EditHotKey->Modifiers(), 1u << gui::hkCtrl);
    // Every combination but Ctrl alone is refused.
    EXPECT_EQ(f.EditHotKey->InvalidKeys(), 0xFFu & ~(1u << gui::hcCtrl));
    EXPECT_EQ(f.EditHotKey->TabOrder(), 1);
    EXPECT_EQ(f.EditNameFolder->TabOrder(), 2);
    EXPECT_EQ(f.EditNameFolder->MaxLength(), 20);

    // All owned by the window, in the description's order.
    const std::vector<gui::TComponent*> expected{f.FormMain, f.Label2,     f.Label1,
                                                 f.Label3,   f.EditHotKey, f.EditNameFolder,
                                                 f.abfTray,  f.PopupMenu};
    ASSERT_GE(f.ComponentCount(), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(f.Components(static_cast<int>(i)), expected[i]);
    EXPECT_EQ(f.Components(f.ComponentCount() - 2), f.AutoRunApp);
    EXPECT_EQ(f.Components(f.ComponentCount() - 1), f.OneInstance);
    EXPECT_TRUE(f.OneInstance->ExeNameAsIdentifier());
    EXPECT_TRUE(f.OneInstance->ShowMessage());
    EXPECT_FALSE(f.OneInstance->Terminating()); // the only copy
    EXPECT_EQ(f.AutoRunApp->Kind(), desktop::TabfAutoExecKind::aekUserRun);
    EXPECT_EQ(f.ImgList->Count(), 3);
}

TEST_F(MainWindowTest, TheTrayMenuHasItsItemsByPosition) {
    TForm1& f = Start();
    gui::TMenuItem& items = f.PopupMenu->Items();
    ASSERT_EQ(items.Count(), 6);
    EXPECT_EQ(items.Items(0), f.MenuShowWin);
    EXPECT_EQ(items.Items(1), f.Lang);
    EXPECT_TRUE(items.Items(2)->IsLine());
    EXPECT_EQ(items.Items(3), f.MenuStartProgs);
    EXPECT_TRUE(items.Items(4)->IsLine());
    EXPECT_EQ(items.Items(5), f.Exit1);
    ASSERT_EQ(f.Lang->Count(), 2);
    EXPECT_EQ(f.Lang->Items(0), f.LangRus);
    EXPECT_EQ(f.Lang->Items(1), f.LangEn);
    EXPECT_EQ(f.MenuShowWin->ImageIndex(), 1);
    EXPECT_EQ(f.Exit1->ImageIndex(), 0);
    EXPECT_EQ(f.PopupMenu->Images(), f.ImgList);
    // The start-with-Windows item checks and unchecks itself.
    const bool before = f.MenuStartProgs->Checked();
    f.MenuStartProgs->Click();
    EXPECT_NE(f.MenuStartProgs->Checked(), before);
}

TEST_F(MainWindowTest, TheFirstStartStoresTheDefaultsAndComesUpInRussian) {
    TForm1& f = Start();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(user.number(kSettings, L"StartUp"), 0u);
    EXPECT_EQ(user.text(kSettings, L"FolderName"), L"Новая папка");
    EXPECT_EQ(user.text(kSettings, L"HotKey"), L"Ctrl+`");
    EXPECT_EQ(user.text(kSettings, L"Lang"), L"Ru");
    EXPECT_FALSE(machine.exists(kSettings));

    EXPECT_EQ(f.CurrentLanguage(), Language::russian);
    EXPECT_TRUE(f.LangRus->Checked());
    EXPECT_FALSE(f.LangEn->Checked());
    EXPECT_EQ(f.Caption(), L" =Nestora=");
    EXPECT_EQ(app->Title(), L"=Nestora=");
    EXPECT_EQ(f.Label1->Caption(), L"Горячая клавиша: ");
    EXPECT_EQ(f.Label2->Caption(), L"Имя новой папки :");
    EXPECT_EQ(MenuCaption(0), L"Настройки");
    EXPECT_EQ(MenuCaption(5), L"Выход");
    EXPECT_EQ(f.abfTray->Hint(), L"Горячая клавиша: Ctrl+`");
    // Registered with every modifier the word holds, and without auto-repeat.
    ASSERT_FALSE(hotKeyCalls.empty());
    EXPECT_EQ(hotKeyCalls.back(), (HotKeyCall{true, f.HotKeyId(), 0x0002 | 0x4000, 0xC0}));
    EXPECT_LT(f.HotKeyId(), 256);
}

TEST_F(MainWindowTest, OnlyEnExactlyGivesEnglish) {
    for (const wchar_t* lang : {L"en", L"De", L"", L"EN"}) {
        Store(L"x", L"Ctrl+F", lang);
        Start();
        EXPECT_EQ(form->CurrentLanguage(), Language::russian) << lang;
        EXPECT_TRUE(form->LangRus->Checked());
        Stop();
        EXPECT_EQ(user.text(kSettings, L"Lang"), L"Ru");
    }
    Store(L"x", L"Ctrl+F", L"En");
    TForm1& f = Start();
    EXPECT_EQ(f.CurrentLanguage(), Language::english);
    EXPECT_TRUE(f.LangEn->Checked());
    EXPECT_FALSE(f.LangRus->Checked());
    EXPECT_EQ(app->Title(), L"= Nestora =");
    EXPECT_EQ(f.Caption(), L"  = Nestora =");
    EXPECT_EQ(f.Label1->Caption(), L"Hot key: ");
    EXPECT_EQ(MenuCaption(1), L"Language");
    EXPECT_EQ(f.LangEn->Caption(), L"English");
    EXPECT_EQ(f.abfTray->Hint(), L"Hot key: Ctrl+F");
    EXPECT_EQ(f.EditHotKey->HotKey(), 0x4046);
    EXPECT_EQ(hotKeyCalls.back(), (HotKeyCall{true, f.HotKeyId(), 0x4002, 'F'}));
}

TEST_F(MainWindowTest, StoredValuesAreTakenAsTheyAreAndWrittenBackNormalised) {
    // "StartUp" 2 checks the entry; a name longer than the field allows and with a
    // forbidden character is taken unchanged.
    Store(L"a name that is far too long: ok", L"shift+ctrl+f1", L"En", 2);
    Start();
    EXPECT_TRUE(form->MenuStartProgs->Checked());
    EXPECT_EQ(form->EditNameFolder->Text(), L"a name that is far too long: ok");
    EXPECT_EQ(form->EditHotKey->HotKey(), 0x6070);
    Stop();
    EXPECT_EQ(user.number(kSettings, L"StartUp"), 1u);
    EXPECT_EQ(user.text(kSettings, L"FolderName"), L"a name that is far too long: ok");
    EXPECT_EQ(user.text(kSettings, L"HotKey"), L"Shift+Ctrl+F1");
    EXPECT_EQ(user.text(kSettings, L"Lang"), L"En");
}

TEST_F(MainWindowTest, AHotKeyWithoutANameGivesTheNoHotKeyHintAndNoRegistration) {
    Store(L"x", L"Ctrl+NoSuchKey", L"En");
    TForm1& f = Start();
    EXPECT_EQ(f.EditHotKey->HotKey(), 0);
    EXPECT_EQ(f.abfTray->Hint(), L"The hot key is not appointed");
    EXPECT_TRUE(std::none_of(hotKeyCalls.begin(), hotKeyCalls.end(),
                             [](const HotKeyCall& c) { return c.registered; }));
    // Switching the language follows the same hint rule.
    f.LangRusClick(nullptr);
    EXPECT_EQ(f.abfTray->Hint(), L"Горячая клавиша не назначена");
}

TEST_F(MainWindowTest, AValueOfTheWrongTypeIsReportedAndTheRestKeepTheirState) {
    user.setText(kSettings, L"StartUp", L"1");
    user.setText(kSettings, L"FolderName", L"Stored");
    user.setText(kSettings, L"HotKey", L"Ctrl+F");
    user.setText(kSettings, L"Lang", L"En");
    TForm1& f = Start();
    EXPECT_EQ(BoxTexts(), (Texts{L"Invalid data type for 'StartUp'"}));
    EXPECT_EQ(boxes[0].flags & MB_ICONERROR, static_cast<unsigned>(MB_ICONERROR));
    // Nothing after the failed value was read.
    EXPECT_EQ(f.EditNameFolder->Text(), L"Новая папка");
    EXPECT_EQ(f.EditHotKey->HotKey(), 0x40C0);
    EXPECT_EQ(f.CurrentLanguage(), Language::russian);
    // The hotkey works and the hint is there all the same.
    ASSERT_FALSE(hotKeyCalls.empty());
    EXPECT_EQ(hotKeyCalls.back(), (HotKeyCall{true, f.HotKeyId(), 0x4002, 0xC0}));
    EXPECT_EQ(f.abfTray->Hint(), L"Горячая клавиша: Ctrl+`");
}

TEST_F(MainWindowTest, TheMachinesSettingsAreTheStartingPointAndTheUserKeepsHisOwn) {
    machine.setNumber(kSettings, L"StartUp", 1);
    machine.setText(kSettings, L"FolderName", L"Из машины");
    machine.setText(kSettings, L"HotKey", L"Ctrl+M");
    machine.setText(kSettings, L"Lang", L"En");
    TForm1& f = Start();
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(user.exists(kSettings)); // nothing written at start
    EXPECT_EQ(f.EditNameFolder->Text(), L"Из машины");
    EXPECT_EQ(f.EditHotKey->HotKey(), 0x404D);
    EXPECT_EQ(f.CurrentLanguage(), Language::english);
    EXPECT_TRUE(f.MenuStartProgs->Checked());
    f.EditNameFolder->SetText(L"Мой");
    Stop();
    EXPECT_EQ(user.text(kSettings, L"FolderName"), L"Мой");
    EXPECT_EQ(user.text(kSettings, L"HotKey"), L"Ctrl+M");
    EXPECT_EQ(user.number(kSettings, L"StartUp"), 1u);
    EXPECT_EQ(machine.text(kSettings, L"FolderName"), L"Из машины");

    // From now on the user's key is the one read.
    machine.setText(kSettings, L"FolderName", L"Changed");
    Start();
    EXPECT_EQ(form->EditNameFolder->Text(), L"Мой");
}

TEST_F(MainWindowTest, TheHotKeyIsOffWhileTheWindowIsShownAndBackFromTheFieldWhenHidden) {
    TForm1& f = Start();
    const int id = f.HotKeyId();
    hotKeyCalls.clear();
    f.Show();
    EXPECT_EQ(hotKeyCalls, (std::vector<HotKeyCall>{{false, id, 0, 0}}));
    EXPECT_FALSE(f.MenuShowWin->Enabled());

    // A new combination typed while shown, and the name field emptied.
    f.EditHotKey->SetHotKey(0x4046);
    f.EditNameFolder->SetText(L"");
    hotKeyCalls.clear();
    f.Hide();
    EXPECT_EQ(hotKeyCalls, (std::vector<HotKeyCall>{{true, id, 0x4002, 'F'}}));
    EXPECT_TRUE(f.MenuShowWin->Enabled());
    EXPECT_EQ(f.EditNameFolder->Text(), L"Новая папка");
    EXPECT_EQ(f.abfTray->Hint(), L"Горячая клавиша: Ctrl+F");
}

TEST_F(MainWindowTest, TheHelpButtonTogglesTheCreditsAndEveryWayBackRestoresTheLabel) {
    TForm1& f = Start();
    f.Show();
    const auto inCredits = [&] {
        return f.Label1->Align() == gui::TAlign::alClient &&
               f.Label1->Caption() == f.CreditsText() && f.Label1->Color() == 0x00E7E7E7u &&
               f.Label1->Font().Color() == 0x00BA681Fu && !f.Label2->Visible() &&
               !f.EditHotKey->Visible() && !f.EditNameFolder->Visible();
    };
    const auto inNormalView = [&] {
        return f.Label1->Align() == gui::TAlign::alNone &&
               f.Label1->BoundsRect() == (gui::TRect{20, 32, 149, 45}) &&
               f.Label1->Caption() == L"Горячая клавиша: " && f.Label1->Color() == 0x00BF9857u &&
               f.Label1->Font().Color() == 0x00020202u && f.Label2->Visible() &&
               f.EditHotKey->Visible() && f.EditNameFolder->Visible();
    };
    f.FormMainTitleBarHelpBtnClick(nullptr, 1);
    EXPECT_TRUE(inCredits());
    EXPECT_EQ(f.Label1->BoundsRect(), f.FormMain->ClientRect());
    f.FormMainTitleBarHelpBtnClick(nullptr, 1);
    EXPECT_TRUE(inNormalView());

    // A click on the credits text.
    f.FormMainTitleBarHelpBtnClick(nullptr, 1);
    ::SendMessageW(f.Label1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(f.Label1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(inNormalView());

    // Hiding the window.
    f.FormMainTitleBarHelpBtnClick(nullptr, 1);
    f.Hide();
    EXPECT_TRUE(inNormalView());

    // Switching the language.
    f.FormMainTitleBarHelpBtnClick(nullptr, 1);
    f.LangRusClick(nullptr);
    EXPECT_TRUE(inNormalView());
}

TEST_F(MainWindowTest, ANameWithAForbiddenCharacterIsRefusedAtTheNextKeyRelease) {
    Store(L"x", L"Ctrl+F", L"En");
    TForm1& f = Start();
    f.Show();
    f.EditNameFolder->SetText(L"Report 2024");
    ::SendMessageW(f.EditNameFolder->Handle(), WM_KEYUP, '4', 0xC0000001);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(f.EditNameFolder->Text(), L"Report 2024");

    f.EditNameFolder->SetText(L"Report.2024");
    ::SendMessageW(f.EditNameFolder->Handle(), WM_KEYUP, VK_OEM_PERIOD, 0xC0000001);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, L"The name of a folder should not contain symbols: "
                             L"\\, /, :, *, ., ?, \", <, >, |");
    EXPECT_EQ(boxes[0].caption, L"= Nestora =");
    EXPECT_EQ(f.EditNameFolder->Text(), L"New Folder");
}

TEST_F(MainWindowTest, SwitchingTheLanguageReplacesTheNameAndEveryCaption) {
    TForm1& f = Start();
    f.EditNameFolder->SetText(L"Мои файлы");
    f.LangEnClick(nullptr);
    EXPECT_EQ(f.EditNameFolder->Text(), L"New Folder");
    EXPECT_FALSE(f.LangRus->Checked());
    EXPECT_TRUE(f.LangEn->Checked());
    EXPECT_EQ(f.Label2->Caption(), L"Name of a new folder:");
    EXPECT_EQ(f.FormMain->Caption(), L"  = Nestora =");
    EXPECT_EQ(MenuCaption(0), L"Settings");
    EXPECT_EQ(MenuCaption(3), L"Start with Windows");
    EXPECT_EQ(f.LangRus->Caption(), L"Russian");
    EXPECT_EQ(f.abfTray->Hint(), L"Hot key: Ctrl+`");
    f.LangRusClick(nullptr);
    EXPECT_EQ(f.EditNameFolder->Text(), L"Новая папка");
    EXPECT_EQ(MenuCaption(1), L"Язык (Language)");
    EXPECT_EQ(f.LangEn->Caption(), L"Английский (English)");
    Stop();
    EXPECT_EQ(user.text(kSettings, L"Lang"), L"Ru");
}

TEST_F(MainWindowTest, APressCreatesFreeNamesOnTheDesktopWithACheckedName) {
    TForm1& f = Start();
    ::SendMessageW(f.Handle(), WM_HOTKEY, f.HotKeyId(), 0);
    ::SendMessageW(f.Handle(), WM_HOTKEY, f.HotKeyId(), 0);
    EXPECT_EQ(DesktopFolders(), (Texts{L"Новая папка", L"Новая папка (2)"}));
    EXPECT_EQ(desktop->renamed.size(), 2u);
    Stop();

    // A name edited in the registry to climb out of the folder gives the default name,
    // inside the desktop; the field keeps what it holds.
    Store(L"..\\..\\escape", L"Ctrl+F", L"En");
    Start();
    ::SendMessageW(form->Handle(), WM_HOTKEY, form->HotKeyId(), 0);
    EXPECT_EQ(DesktopFolders(), (Texts{L"New Folder", L"Новая папка", L"Новая папка (2)"}));
    EXPECT_EQ(form->EditNameFolder->Text(), L"..\\..\\escape");
    EXPECT_FALSE(std::filesystem::exists(desktopFolder.parent_path().parent_path() / L"escape"));
}

TEST_F(MainWindowTest, TheEndOfTheSessionSavesOnceAndTheWindowsEndChangesNothingMore) {
    TForm1& f = Start();
    f.EditNameFolder->SetText(L"Before logoff");
    f.MenuStartProgs->SetChecked(true);
    ::SendMessageW(f.Handle(), WM_ENDSESSION, FALSE, 0); // the session goes on
    EXPECT_EQ(user.text(kSettings, L"FolderName"), L"Новая папка");
    ::SendMessageW(f.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(user.text(kSettings, L"FolderName"), L"Before logoff");
    EXPECT_EQ(user.number(kSettings, L"StartUp"), 1u);
    f.EditNameFolder->SetText(L"After");
    const int id = f.HotKeyId();
    hotKeyCalls.clear();
    Stop();
    EXPECT_EQ(user.text(kSettings, L"FolderName"), L"Before logoff");
    // The hotkey still goes with the window.
    EXPECT_EQ(hotKeyCalls, (std::vector<HotKeyCall>{{false, id, 0, 0}}));
}

TEST_F(MainWindowTest, ClosingTheWindowWritesTheSettingsAndUnregistersTheHotKey) {
    TForm1& f = Start();
    f.LangEnClick(nullptr);
    f.EditNameFolder->SetText(L"Projects");
    f.EditHotKey->SetHotKey(0x4050);
    const int id = f.HotKeyId();
    hotKeyCalls.clear();
    Stop();
    EXPECT_EQ(user.text(kSettings, L"FolderName"), L"Projects");
    EXPECT_EQ(user.text(kSettings, L"HotKey"), L"Ctrl+P");
    EXPECT_EQ(user.text(kSettings, L"Lang"), L"En");
    EXPECT_EQ(user.number(kSettings, L"StartUp"), 0u);
    EXPECT_EQ(hotKeyCalls, (std::vector<HotKeyCall>{{false, id, 0, 0}}));
}

TEST_F(MainWindowTest, SettingsThatCannotBeWrittenAreReportedAndTheRestStillHappens) {
    AppSeams broken = seams();
    // A root where no key can be made (not a key at all).
    broken.settings.user = reinterpret_cast<HKEY>(static_cast<std::intptr_t>(0x7FFF0));
    form = gui::Create<TForm1>(app.get(), broken);
    EXPECT_EQ(BoxTexts(), (Texts{L"Failed to create key Software\\Nestora"}));
    // Russian, the hotkey registered, the hint set.
    EXPECT_EQ(form->CurrentLanguage(), Language::russian);
    ASSERT_FALSE(hotKeyCalls.empty());
    EXPECT_TRUE(hotKeyCalls.back().registered);
    EXPECT_EQ(form->abfTray->Hint(), L"Горячая клавиша: Ctrl+`");

    // At the end: the error again, and still the run entry and the hotkey's release.
    form->MenuStartProgs->SetChecked(true);
    const int id = form->HotKeyId();
    boxes.clear();
    hotKeyCalls.clear();
    Stop();
    EXPECT_EQ(BoxTexts(), (Texts{L"Failed to create key Software\\Nestora"}));
    EXPECT_EQ(hotKeyCalls, (std::vector<HotKeyCall>{{false, id, 0, 0}}));
    EXPECT_TRUE(
        runKeys.text(L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", ExeFileName().c_str()));
}

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST_F(MainWindowTest, TheTrayIconComesWithItsHintAndTheWindowStaysHidden) {
    Store(L"x", L"Ctrl+F", L"En");
    TForm1& f = Start();
    EXPECT_FALSE(f.Visible());
    EXPECT_TRUE(f.abfTray->MinimizeToTray());
    EXPECT_TRUE(f.abfTray->MinimizeOnStart());
    EXPECT_EQ(f.abfTray->PopupMenu(), f.PopupMenu);
    EXPECT_EQ(f.abfTray->ImageIndex(), -1);
    EXPECT_FALSE(f.abfTray->Icon().Empty());
    EXPECT_TRUE(f.abfTray->InTray());
    EXPECT_TRUE(std::any_of(trayRequests.begin(), trayRequests.end(),
                            [](const TrayRequest& r) { return r.message == NIM_ADD; }));
    ASSERT_FALSE(trayRequests.empty());
    // The shell has the hint the settings give.
    EXPECT_EQ(trayRequests.back().tip, L"Hot key: Ctrl+F");
    f.LangRusClick(nullptr);
    EXPECT_EQ(trayRequests.back().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(trayRequests.back().tip, L"Горячая клавиша: Ctrl+F");
    Stop();
    EXPECT_EQ(trayRequests.back().message, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(MainWindowTest, TheRunEntryGoesAtStartAndComesBackAtTheEndWhenChecked) {
    runKeys.setText(kRunKey, ExeFileName().c_str(), L"C:\\old\\path.exe");
    Store(L"x", L"Ctrl+F", L"En", 1);
    TForm1& f = Start();
    EXPECT_FALSE(runKeys.text(kRunKey, ExeFileName().c_str()));
    EXPECT_TRUE(f.MenuStartProgs->Checked());
    Stop();
    const auto entry = runKeys.text(kRunKey, ExeFileName().c_str());
    ASSERT_TRUE(entry);
    EXPECT_NE(entry->find(gui::TApplication::ExeName()), std::wstring::npos);

    // Unchecked in the menu: gone at the end.
    Start();
    form->MenuStartProgs->Click();
    EXPECT_FALSE(form->MenuStartProgs->Checked());
    Stop();
    EXPECT_FALSE(runKeys.text(kRunKey, ExeFileName().c_str()));
    EXPECT_EQ(user.number(kSettings, L"StartUp"), 0u);
}

} // namespace
} // namespace nestora::app
