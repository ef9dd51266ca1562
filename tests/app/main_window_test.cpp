// The real main window, TForm1, made from the program's own description resource, with
// its settings in scratch registry keys, the hotkey calls recorded and the desktop in a
// scratch folder: the controls and their places, the menu, the settings read and written,
// showing and hiding, the credits view, the name check, the languages, a hotkey press and
// the end of the session.
#include "app/main_window.h"

#include "app/credits_text.h"
#include "app/hotkey_registration.h"
#include "app/win_file_system.h"
#include "app/win_item_mover.h"
#include "tests/app/main_window_stand_ins.h"
#include "tests/gui/win/app_test_support.h"
#include "tests/support/win/menu_probe.h"
#include "tests/support/win/registry_values.h"
#include "tests/support/win/scratch_key.h"
#include "tests/support/win/stand_in_shell.h"

#include "app/win_shell_automation.h"

#include "gui/win/bitmap.h"
#include "gui/win/graphics_counters.h"
#include "skin/sui_title_bar_menu.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

namespace nestora::app {
namespace {

using nestora::testing::OpenMenuProbe;
using nestora::testing::ScratchKey;

constexpr const wchar_t* kSettings = nestora::testing::kSettingsKey;

struct HotKeyCall {
    bool registered; // false: unregistered
    int id;
    unsigned modifiers;
    unsigned key;
    friend bool operator==(const HotKeyCall&, const HotKeyCall&) = default;
};

// The selection key's identifier beside the hotkey's.
int SelectionId(int hotKeyId) {
    return SelectionKeyIdFromHotKeyId(hotKeyId);
}

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

    AppSeams Seams() {
        AppSeams s;
        s.settings = {user.get(), machine.get()};
        s.hotKey.registerKey = [this](HWND, int id, unsigned modifiers, unsigned key) {
            hotKeyCalls.push_back({true, id, modifiers, key});
            return true;
        };
        s.hotKey.unregisterKey = [this](HWND, int id) { hotKeyCalls.push_back({false, id, 0, 0}); };
        s.shell = [] { return std::unique_ptr<ShellAutomation>(); };
        s.pressWindows = [](HWND) -> std::unique_ptr<PressWindows> {
            return std::make_unique<NoExplorerWindows>();
        };
        s.fileSystem = std::make_shared<WindowsFileSystem>();
        s.desktop = desktop;
        // The layout's name of the key left of 1, whatever layout Wine has.
        s.keyNames = [](unsigned key) { return key == 0xC0 ? std::wstring(L"`") : std::wstring(); };
        s.installedKeyNames = [this] { return installedLayouts; };
        s.trayShell.notify = [this](DWORD message, NOTIFYICONDATAW& data) {
            trayRequests.push_back(
                {message, data.szTip, data.uFlags, data.szInfo, data.szInfoTitle});
            return TRUE;
        };
        s.runKeys.currentUser = runKeys.get();
        s.runKeys.localMachine = runKeys.get();
        return s;
    }

    // The last call made for one identifier (a call that registered nothing: none).
    HotKeyCall LastCallFor(int id) const {
        for (auto call = hotKeyCalls.rbegin(); call != hotKeyCalls.rend(); ++call) {
            if (call->id == id)
                return *call;
        }
        return {false, -1, 0, 0};
    }

    TForm1& Start() { return Start(Seams()); }
    TForm1& Start(AppSeams s) {
        form = gui::Create<TForm1>(app.get(), std::move(s));
        return *form;
    }
    // The balloons' texts, in order.
    std::vector<std::wstring> Balloons() const {
        std::vector<std::wstring> texts;
        for (const auto& request : trayRequests) {
            if (request.flags & NIF_INFO)
                texts.push_back(request.info);
        }
        return texts;
    }
    void Stop() {
        form->Free();
        form = nullptr;
    }
    void Store(const std::wstring& folderName, const std::wstring& hotKey, const std::wstring& lang,
               std::uint32_t startUp = 0) {
        user.SetNumber(kSettings, L"StartUp", startUp);
        user.SetText(kSettings, L"FolderName", folderName);
        user.SetText(kSettings, L"HotKey", hotKey);
        user.SetText(kSettings, L"Lang", lang);
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
        UINT flags = 0;
        std::wstring info;
        std::wstring infoTitle;
    };

    ScratchKey user, machine, runKeys;
    std::vector<TrayRequest> trayRequests;
    std::filesystem::path desktopFolder;
    std::shared_ptr<ScratchDesktop> desktop;
    std::vector<HotKeyCall> hotKeyCalls;
    std::vector<KeyNameSource> installedLayouts;
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
    // Designed single-bordered; the skinned frame took the border and caption away. Its
    // minimum height stays; the stored minimum width is the description's.
    EXPECT_EQ(f.FormMain->SavedBorderStyle(), gui::TFormBorderStyle::bsSingle);
    EXPECT_EQ(f.BorderStyle(), gui::TFormBorderStyle::bsNone);
    EXPECT_EQ(::GetWindowLongW(f.Handle(), GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(f.Width(), 170);
    EXPECT_EQ(f.Height(), 134);
    EXPECT_EQ(f.BorderIcons(),
              gui::BorderIconBit(gui::biSystemMenu) | gui::BorderIconBit(gui::biMinimize));
    EXPECT_EQ(f.Constraints().MinWidth(), 130);
    EXPECT_EQ(f.Constraints().MinHeight(), 50);
    EXPECT_FALSE(f.Visible());

    EXPECT_EQ(f.FormMain->Parent(), &f);
    EXPECT_EQ(f.FormMain->BoundsRect(), (gui::TRect{1, 0, 169, 133}));
    EXPECT_EQ(f.FormMain->Color(), 0x00E7E7E7u);
    for (gui::TControl* control :
         std::vector<gui::TControl*>{f.Label1, f.Label2, f.Label3, f.EditHotKey, f.EditNameFolder})
        EXPECT_EQ(control->Parent(), f.FormMain) << control->Name();
    // No control lies under the title bar.
    EXPECT_LE(f.FormMain->TitleBar().Height(), f.Label1->Top());
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
    EXPECT_EQ(user.Number(kSettings, L"StartUp"), 0u);
    EXPECT_EQ(user.Text(kSettings, L"FolderName"), L"Новая папка");
    EXPECT_EQ(user.Text(kSettings, L"HotKey"), L"Ctrl+`");
    EXPECT_EQ(user.Text(kSettings, L"Lang"), L"Ru");
    EXPECT_FALSE(machine.Exists(kSettings));

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
    EXPECT_EQ(LastCallFor(f.HotKeyId()), (HotKeyCall{true, f.HotKeyId(), 0x0002 | 0x4000, 0xC0}));
    EXPECT_LT(f.HotKeyId(), 256);
}

TEST_F(MainWindowTest, OnlyEnExactlyGivesEnglish) {
    for (const wchar_t* lang : {L"en", L"De", L"", L"EN"}) {
        Store(L"x", L"Ctrl+F", lang);
        Start();
        EXPECT_EQ(form->CurrentLanguage(), Language::russian) << lang;
        EXPECT_TRUE(form->LangRus->Checked());
        Stop();
        EXPECT_EQ(user.Text(kSettings, L"Lang"), L"Ru");
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
    EXPECT_EQ(LastCallFor(f.HotKeyId()), (HotKeyCall{true, f.HotKeyId(), 0x4002, 'F'}));
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
    EXPECT_EQ(user.Number(kSettings, L"StartUp"), 1u);
    EXPECT_EQ(user.Text(kSettings, L"FolderName"), L"a name that is far too long: ok");
    EXPECT_EQ(user.Text(kSettings, L"HotKey"), L"Shift+Ctrl+F1");
    EXPECT_EQ(user.Text(kSettings, L"Lang"), L"En");
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

TEST_F(MainWindowTest, AHotKeyWrittenUnderAnotherLayoutIsReadOrKeptButNeverLost) {
    // Written under Russian, where the key $C0 is "Ё"; read under a layout naming it "`".
    Store(L"x", L"Ctrl+Ё", L"En");
    // No installed layout names it: no hotkey now, but the text stays for the day one does.
    Start();
    EXPECT_EQ(form->EditHotKey->HotKey(), 0);
    Stop();
    EXPECT_EQ(user.Text(kSettings, L"HotKey"), L"Ctrl+Ё");

    // The Russian layout is installed beside the active one: the key is read and works.
    installedLayouts = {
        [](unsigned key) { return key == 0xC0 ? std::wstring(L"Ё") : std::wstring(); }};
    hotKeyCalls.clear();
    Start();
    EXPECT_EQ(form->EditHotKey->HotKey(), 0x40C0);
    ASSERT_FALSE(hotKeyCalls.empty());
    EXPECT_EQ(LastCallFor(form->HotKeyId()), (HotKeyCall{true, form->HotKeyId(), 0x4002, 0xC0}));
    Stop();
    EXPECT_EQ(user.Text(kSettings, L"HotKey"), L"Ctrl+`"); // in the active layout's words

    // A key the user sets replaces an unread text.
    installedLayouts.clear();
    user.SetText(kSettings, L"HotKey", L"Ctrl+Ё");
    Start();
    form->EditHotKey->SetHotKey(0x4046);
    form->FormHide(nullptr);
    Stop();
    EXPECT_EQ(user.Text(kSettings, L"HotKey"), L"Ctrl+F");
}

TEST_F(MainWindowTest, AValueOfTheWrongTypeIsReportedAndTheOthersAreReadAndKept) {
    user.SetText(kSettings, L"StartUp", L"1");
    user.SetText(kSettings, L"FolderName", L"Stored");
    user.SetText(kSettings, L"HotKey", L"Ctrl+F");
    user.SetText(kSettings, L"Lang", L"En");
    TForm1& f = Start();
    EXPECT_EQ(BoxTexts(), (Texts{L"Invalid data type for 'StartUp'"}));
    EXPECT_EQ(boxes[0].flags & MB_ICONERROR, static_cast<unsigned>(MB_ICONERROR));
    // The values after the bad one are read all the same.
    EXPECT_FALSE(f.MenuStartProgs->Checked());
    EXPECT_EQ(f.EditNameFolder->Text(), L"Stored");
    EXPECT_EQ(f.EditHotKey->HotKey(), 0x4046);
    EXPECT_EQ(f.CurrentLanguage(), Language::english);
    ASSERT_FALSE(hotKeyCalls.empty());
    EXPECT_EQ(LastCallFor(f.HotKeyId()), (HotKeyCall{true, f.HotKeyId(), 0x4002, 'F'}));
    EXPECT_EQ(f.abfTray->Hint(), L"Hot key: Ctrl+F");
    // At the end only the unreadable value is replaced (by its default); the user's other
    // settings survive.
    Stop();
    EXPECT_EQ(user.Number(kSettings, L"StartUp"), 0u);
    EXPECT_EQ(user.Text(kSettings, L"FolderName"), L"Stored");
    EXPECT_EQ(user.Text(kSettings, L"HotKey"), L"Ctrl+F");
    EXPECT_EQ(user.Text(kSettings, L"Lang"), L"En");

    // An unreadable name gives the stored language's default name; the first error is the
    // one shown.
    boxes.clear();
    user.SetNumber(kSettings, L"FolderName", 7);
    user.SetNumber(kSettings, L"HotKey", 7);
    Start();
    EXPECT_EQ(BoxTexts(), (Texts{L"Invalid data type for 'FolderName'"}));
    EXPECT_EQ(form->EditNameFolder->Text(), L"New Folder");
    EXPECT_EQ(form->EditHotKey->HotKey(), 0x40C0);
    EXPECT_EQ(form->CurrentLanguage(), Language::english);
}

TEST_F(MainWindowTest, TheMachinesSettingsAreTheStartingPointAndTheUserKeepsHisOwn) {
    machine.SetNumber(kSettings, L"StartUp", 1);
    machine.SetText(kSettings, L"FolderName", L"Из машины");
    machine.SetText(kSettings, L"HotKey", L"Ctrl+M");
    machine.SetText(kSettings, L"Lang", L"En");
    TForm1& f = Start();
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(user.Exists(kSettings)); // nothing written at start
    EXPECT_EQ(f.EditNameFolder->Text(), L"Из машины");
    EXPECT_EQ(f.EditHotKey->HotKey(), 0x404D);
    EXPECT_EQ(f.CurrentLanguage(), Language::english);
    EXPECT_TRUE(f.MenuStartProgs->Checked());
    f.EditNameFolder->SetText(L"Мой");
    Stop();
    EXPECT_EQ(user.Text(kSettings, L"FolderName"), L"Мой");
    EXPECT_EQ(user.Text(kSettings, L"HotKey"), L"Ctrl+M");
    EXPECT_EQ(user.Number(kSettings, L"StartUp"), 1u);
    EXPECT_EQ(machine.Text(kSettings, L"FolderName"), L"Из машины");

    // From now on the user's key is the one read.
    machine.SetText(kSettings, L"FolderName", L"Changed");
    Start();
    EXPECT_EQ(form->EditNameFolder->Text(), L"Мой");
}

TEST_F(MainWindowTest, TheOld32BitProgramsSettingsAreFoundWhereItsWritesWent) {
    // The machine's key, and the copy a 32-bit program's writes really reached without
    // administrator rights: the copy is the one read.
    constexpr wchar_t kStore[] = L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Nestora";
    constexpr wchar_t kStore32[] =
        L"Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\Nestora";
    machine.SetText(kSettings, L"FolderName", L"Machine");
    for (const wchar_t* key : {kStore, kStore32}) {
        user.SetNumber(key, L"StartUp", 0);
        user.SetText(key, L"FolderName", key == kStore ? L"Store" : L"Store32");
        user.SetText(key, L"HotKey", L"Ctrl+S");
        user.SetText(key, L"Lang", L"En");
        Start();
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(form->EditNameFolder->Text(), key == kStore ? L"Store" : L"Store32");
        EXPECT_EQ(form->EditHotKey->HotKey(), 0x4053);
        EXPECT_EQ(form->CurrentLanguage(), Language::english);
        Stop();
        // Written to the user's own key alone; the user's key is read from then on.
        EXPECT_EQ(user.Text(kSettings, L"FolderName"), key == kStore ? L"Store" : L"Store32");
        ASSERT_EQ(::RegDeleteTreeW(user.get(), kSettings), ERROR_SUCCESS);
    }
    EXPECT_EQ(user.Text(kStore, L"FolderName"), L"Store");
    EXPECT_EQ(user.Text(kStore32, L"FolderName"), L"Store32");
    EXPECT_EQ(machine.Text(kSettings, L"FolderName"), L"Machine");
}

TEST_F(MainWindowTest, TheHotKeyIsOffWhileTheWindowIsShownAndBackFromTheFieldWhenHidden) {
    TForm1& f = Start();
    const int id = f.HotKeyId();
    hotKeyCalls.clear();
    f.Show();
    EXPECT_EQ(hotKeyCalls,
              (std::vector<HotKeyCall>{{false, id, 0, 0}, {false, SelectionId(id), 0, 0}}));
    EXPECT_FALSE(f.MenuShowWin->Enabled());

    // A new combination typed while shown, and the name field emptied.
    f.EditHotKey->SetHotKey(0x4046);
    f.EditNameFolder->SetText(L"");
    hotKeyCalls.clear();
    f.Hide();
    EXPECT_EQ(hotKeyCalls, (std::vector<HotKeyCall>{{true, id, 0x4002, 'F'},
                                                    {true, SelectionId(id), 0x4006, 'F'}}));
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
    // The credits fill the frame below its title bar.
    const gui::TRect frame = f.FormMain->ClientRect();
    EXPECT_EQ(f.Label1->BoundsRect(),
              (gui::TRect{frame.Left, f.FormMain->TitleBar().Height(), frame.Right, frame.Bottom}));
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
    EXPECT_EQ(user.Text(kSettings, L"Lang"), L"Ru");
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

TEST_F(MainWindowTest, TheSelectionKeyIsTheHotKeyWithShiftAndComesAndGoesWithIt) {
    TForm1& f = Start();
    const int id = f.HotKeyId();
    EXPECT_EQ(f.SelectionKeyId(), SelectionId(id));
    ASSERT_GE(hotKeyCalls.size(), 2u);
    EXPECT_EQ(
        std::vector<HotKeyCall>(hotKeyCalls.end() - 2, hotKeyCalls.end()),
        (std::vector<HotKeyCall>{{true, id, 0x4002, 0xC0}, {true, SelectionId(id), 0x4006, 0xC0}}));
    // Nothing of it is said: the hint is the hotkey's alone.
    EXPECT_EQ(f.abfTray->Hint(), L"Горячая клавиша: Ctrl+`");
    hotKeyCalls.clear();
    Stop();
    EXPECT_EQ(hotKeyCalls,
              (std::vector<HotKeyCall>{{false, id, 0, 0}, {false, SelectionId(id), 0, 0}}));
}

TEST_F(MainWindowTest, AHotKeyHoldingShiftOrASelectionKeyHeldElsewhereLeavesTheHotKeyAlone) {
    // Shift+Ctrl+F1: no second Shift to add.
    Store(L"x", L"Shift+Ctrl+F1", L"En");
    TForm1& f = Start();
    const int id = f.HotKeyId();
    EXPECT_EQ(std::count_if(hotKeyCalls.begin(), hotKeyCalls.end(),
                            [](const HotKeyCall& c) { return c.registered; }),
              1);
    EXPECT_EQ(hotKeyCalls.back(), (HotKeyCall{true, id, 0x4006, 0x70}));
    hotKeyCalls.clear();
    f.Show();
    EXPECT_EQ(hotKeyCalls, (std::vector<HotKeyCall>{{false, id, 0, 0}}));
    Stop();

    // Another program holds Ctrl+Shift+`: the hotkey works, the hint advertises it, no
    // balloon, and nothing is unregistered that was never registered.
    Store(L"x", L"Ctrl+`", L"En");
    AppSeams s = Seams();
    s.hotKey.registerKey = [this](HWND, int key, unsigned modifiers, unsigned vk) {
        hotKeyCalls.push_back({true, key, modifiers, vk});
        return (modifiers & MOD_SHIFT) == 0;
    };
    hotKeyCalls.clear();
    trayRequests.clear();
    Start(std::move(s));
    EXPECT_EQ(hotKeyCalls.size(), 2u);
    EXPECT_EQ(form->abfTray->Hint(), L"Hot key: Ctrl+`");
    EXPECT_TRUE(Balloons().empty());
    hotKeyCalls.clear();
    form->Show();
    EXPECT_EQ(hotKeyCalls, (std::vector<HotKeyCall>{{false, id, 0, 0}}));
}

TEST_F(MainWindowTest, TheSelectionKeyMovesTheDesktopsSelectionIntoTheNewFolder) {
    AppSeams s = Seams();
    s.mover = std::make_shared<ShellItemMover>();
    TForm1& f = Start(std::move(s));
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
        std::ofstream(desktopFolder / name) << "x";
    desktop->selected = {(desktopFolder / L"a.txt").wstring(),
                         (desktopFolder / L"c.txt").wstring()};
    // The hotkey itself: a plain folder, the selection stays where it is.
    ::SendMessageW(f.Handle(), WM_HOTKEY, f.HotKeyId(), MAKELPARAM(MOD_CONTROL, 0xC0));
    EXPECT_EQ(DesktopFolders(), (Texts{L"a.txt", L"b.txt", L"c.txt", L"Новая папка"}));
    ::SendMessageW(f.Handle(), WM_HOTKEY, f.SelectionKeyId(),
                   MAKELPARAM(MOD_CONTROL | MOD_SHIFT, 0xC0));
    EXPECT_EQ(DesktopFolders(), (Texts{L"b.txt", L"Новая папка", L"Новая папка (2)"}));
    std::vector<std::wstring> moved;
    for (const auto& entry :
         std::filesystem::directory_iterator(desktopFolder / L"Новая папка (2)"))
        moved.push_back(entry.path().filename().wstring());
    std::sort(moved.begin(), moved.end());
    EXPECT_EQ(moved, (Texts{L"a.txt", L"c.txt"}));
    EXPECT_TRUE(std::filesystem::is_empty(desktopFolder / L"Новая папка"));
    EXPECT_EQ(desktop->renamed.back(), (desktopFolder / L"Новая папка (2)").wstring());
}

TEST_F(MainWindowTest, TheEndOfTheSessionSavesOnceAndTheWindowsEndChangesNothingMore) {
    TForm1& f = Start();
    f.EditNameFolder->SetText(L"Before logoff");
    f.MenuStartProgs->SetChecked(true);
    ::SendMessageW(f.Handle(), WM_ENDSESSION, FALSE, 0); // the session goes on
    EXPECT_EQ(user.Text(kSettings, L"FolderName"), L"Новая папка");
    ::SendMessageW(f.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(user.Text(kSettings, L"FolderName"), L"Before logoff");
    EXPECT_EQ(user.Number(kSettings, L"StartUp"), 1u);
    f.EditNameFolder->SetText(L"After");
    const int id = f.HotKeyId();
    hotKeyCalls.clear();
    Stop();
    EXPECT_EQ(user.Text(kSettings, L"FolderName"), L"Before logoff");
    // The hotkey still goes with the window.
    EXPECT_EQ(hotKeyCalls,
              (std::vector<HotKeyCall>{{false, id, 0, 0}, {false, SelectionId(id), 0, 0}}));
}

TEST_F(MainWindowTest, ClosingTheWindowWritesTheSettingsAndUnregistersTheHotKey) {
    TForm1& f = Start();
    f.LangEnClick(nullptr);
    f.EditNameFolder->SetText(L"Projects");
    f.EditHotKey->SetHotKey(0x4050);
    const int id = f.HotKeyId();
    hotKeyCalls.clear();
    Stop();
    EXPECT_EQ(user.Text(kSettings, L"FolderName"), L"Projects");
    EXPECT_EQ(user.Text(kSettings, L"HotKey"), L"Ctrl+P");
    EXPECT_EQ(user.Text(kSettings, L"Lang"), L"En");
    EXPECT_EQ(user.Number(kSettings, L"StartUp"), 0u);
    EXPECT_EQ(hotKeyCalls,
              (std::vector<HotKeyCall>{{false, id, 0, 0}, {false, SelectionId(id), 0, 0}}));
}

TEST_F(MainWindowTest, SettingsThatCannotBeWrittenAreReportedAndTheRestStillHappens) {
    AppSeams broken = Seams();
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
    EXPECT_EQ(hotKeyCalls,
              (std::vector<HotKeyCall>{{false, id, 0, 0}, {false, SelectionId(id), 0, 0}}));
    EXPECT_TRUE(
        runKeys.Text(L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", ExeFileName().c_str()));
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

TEST_F(MainWindowTest, TheRunEntryFollowsTheStoredStartUpAtStartAndTheMenuAtTheEnd) {
    // A stale entry (the program moved) is replaced at start by one naming this program,
    // so a program killed before its end still starts with Windows.
    runKeys.SetText(kRunKey, ExeFileName().c_str(), L"C:\\old\\path.exe");
    Store(L"x", L"Ctrl+F", L"En", 1);
    TForm1& f = Start();
    EXPECT_TRUE(f.MenuStartProgs->Checked());
    const auto atStart = runKeys.Text(kRunKey, ExeFileName().c_str());
    ASSERT_TRUE(atStart);
    EXPECT_NE(atStart->find(gui::TApplication::ExeName()), std::wstring::npos);
    Stop();
    const auto entry = runKeys.Text(kRunKey, ExeFileName().c_str());
    ASSERT_TRUE(entry);
    EXPECT_NE(entry->find(gui::TApplication::ExeName()), std::wstring::npos);

    // Unchecked in the menu: gone at the end.
    Start();
    form->MenuStartProgs->Click();
    EXPECT_FALSE(form->MenuStartProgs->Checked());
    Stop();
    EXPECT_FALSE(runKeys.Text(kRunKey, ExeFileName().c_str()));
    EXPECT_EQ(user.Number(kSettings, L"StartUp"), 0u);

    // "StartUp" off: a leftover entry goes at start.
    runKeys.SetText(kRunKey, ExeFileName().c_str(), L"C:\\old\\path.exe");
    Start();
    EXPECT_FALSE(runKeys.Text(kRunKey, ExeFileName().c_str()));
    Stop();
}

TEST_F(MainWindowTest, AHotKeyHeldElsewhereIsNeverAdvertisedAndEachFailedRegistrationIsTold) {
    Store(L"x", L"Ctrl+`", L"En");
    // Another registration holds the combination, as another program's would.
    const gui::UniqueWindow holder(::CreateWindowExW(0, L"STATIC", L"holder", WS_POPUP, 0, 0, 1, 1,
                                                     nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(::RegisterHotKey(holder.get(), 1, MOD_CONTROL, VK_OEM_3));
    AppSeams s = Seams();
    s.hotKey = SystemSeams().hotKey;
    TForm1& f = Start(std::move(s));
    const std::wstring taken = L"Hot key Ctrl+` is taken by another program. Choose another: "
                               L"Settings in this icon's menu.";
    EXPECT_EQ(f.abfTray->Hint(), taken);
    EXPECT_EQ(trayRequests.back().tip, taken);
    EXPECT_EQ(Balloons(), (Texts{taken}));
    const auto balloon =
        std::find_if(trayRequests.begin(), trayRequests.end(),
                     [](const TrayRequest& r) { return (r.flags & NIF_INFO) != 0; });
    ASSERT_NE(balloon, trayRequests.end());
    EXPECT_EQ(balloon->infoTitle, L"= Nestora =");
    // In the other language, in its words.
    f.LangRusClick(nullptr);
    EXPECT_EQ(f.abfTray->Hint(), L"Горячая клавиша Ctrl+` занята другой программой. Выберите "
                                 L"другую: «Настройки» в меню значка.");
    // Registered again when the window hides, still held: told again.
    f.Show();
    f.Hide();
    EXPECT_EQ(Balloons().size(), 2u);
    // Let go by the other: the next registration works and the key is advertised again.
    ASSERT_TRUE(::UnregisterHotKey(holder.get(), 1));
    f.Show();
    f.Hide();
    EXPECT_EQ(f.abfTray->Hint(), L"Горячая клавиша: Ctrl+`");
    EXPECT_EQ(Balloons().size(), 2u);
}

TEST_F(MainWindowTest, AFolderThatCannotBeMadeOrAWindowWithoutOneIsToldInABalloonNotABox) {
    Store(L"x", L"Ctrl+F", L"En");
    const std::wstring missing = (desktopFolder / L"gone" / L"Desktop").wstring();
    AppSeams s = Seams();
    s.desktop = std::make_shared<ScratchDesktop>(missing);
    TForm1& f = Start(std::move(s));
    ::SendMessageW(f.Handle(), WM_HOTKEY, f.HotKeyId(), 0);
    // The folder and the system's reason (path not found), not a box.
    ASSERT_EQ(Balloons().size(), 1u);
    EXPECT_EQ(Balloons()[0].find(L"Could not create a folder in " + missing + L": "), 0u)
        << ::testing::PrintToString(Balloons()[0]);
    EXPECT_GT(Balloons()[0].size(), (L"Could not create a folder in " + missing + L": ").size());
    EXPECT_EQ(Balloons()[0].find(L"Error 3"), std::wstring::npos) << "no system text";
    EXPECT_TRUE(boxes.empty());
    Stop();

    // The Explorer window in front shows This PC: a short balloon says so.
    auto calls = std::make_shared<nestora::testing::AutomationCalls>();
    std::vector<nestora::testing::ShellWindow> windows{
        {0x10010, L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"}};
    struct ThisPcInFront final : PressWindows {
        bool IsMinimised(WindowId) override { return false; }
        WindowId ForegroundWindow() override { return 0x10010; }
        bool IsDesktop(WindowId) override { return false; }
        WindowId ActiveTab(WindowId) override { return 0; }
    };
    s = Seams();
    s.shell = [calls, windows] {
        return ShellAutomationOver(nestora::testing::MakeStandInShell(calls, windows));
    };
    s.pressWindows = [](HWND) -> std::unique_ptr<PressWindows> {
        return std::make_unique<ThisPcInFront>();
    };
    trayRequests.clear();
    Start(std::move(s));
    ::SendMessageW(form->Handle(), WM_HOTKEY, form->HotKeyId(), 0);
    EXPECT_EQ(Balloons(),
              (Texts{L"This window shows no folder on disk: a new folder cannot be made here."}));
    EXPECT_TRUE(DesktopFolders().empty());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, AnEntryDisabledInTaskManagerIsUntickedAndTickingItEnablesItAgain) {
    constexpr wchar_t kApproved[] =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
    const std::wstring name = ExeFileName();
    // As Task Manager leaves it: 03, then the time it was disabled.
    nestora::testing::RegistryValue disabled{
        REG_BINARY, {3, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01}};
    const std::wstring approvedPath = runKeys.path() + L"\\" + kApproved;
    ASSERT_TRUE(nestora::testing::WriteValue(HKEY_CURRENT_USER, approvedPath.c_str(), name.c_str(),
                                             disabled));
    // Another program's mark is none of this program's business.
    ASSERT_TRUE(nestora::testing::WriteValue(HKEY_CURRENT_USER, approvedPath.c_str(), L"other.exe",
                                             disabled));
    Store(L"x", L"Ctrl+F", L"En", 1);
    TForm1& f = Start();
    EXPECT_FALSE(f.MenuStartProgs->Checked());
    Stop();
    EXPECT_EQ(user.Number(kSettings, L"StartUp"), 0u);
    EXPECT_TRUE(nestora::testing::ReadValue(HKEY_CURRENT_USER, approvedPath.c_str(), name.c_str()));

    // Ticked by the user: the entry is written and Windows' mark for it goes.
    Start();
    form->MenuStartProgs->Click();
    EXPECT_TRUE(form->MenuStartProgs->Checked());
    Stop();
    EXPECT_TRUE(runKeys.Text(kRunKey, name.c_str()));
    EXPECT_FALSE(
        nestora::testing::ReadValue(HKEY_CURRENT_USER, approvedPath.c_str(), name.c_str()));
    EXPECT_TRUE(nestora::testing::ReadValue(HKEY_CURRENT_USER, approvedPath.c_str(), L"other.exe"));
    // An enabled mark (02) leaves the item ticked.
    disabled.bytes[0] = 2;
    ASSERT_TRUE(nestora::testing::WriteValue(HKEY_CURRENT_USER, approvedPath.c_str(), name.c_str(),
                                             disabled));
    Start();
    EXPECT_TRUE(form->MenuStartProgs->Checked());
}

// --- the skinned look ------------------------------------------------------------------------

using skin::TsuiTitleBarAlign;
using skin::TsuiTitleBarBtnType;
using skin::TsuiUIStyle;

// The application makes its main form without arguments (CreateForm), and only the main
// form is what the tray icon shows, hides and minimises to the tray: this one takes the
// seams the fixture leaves for it.
class TestMainForm : public TForm1 {
public:
    static inline std::optional<AppSeams> nextSeams;
    explicit TestMainForm(gui::TComponent* owner) : TForm1(owner, TakeSeams()) {}

private:
    static AppSeams TakeSeams() {
        AppSeams seams = std::move(nextSeams).value();
        nextSeams.reset();
        return seams;
    }
};

class SkinnedMainWindowTest : public MainWindowTest {
protected:
    TForm1& StartAsMainForm() {
        TestMainForm::nextSeams = Seams();
        form = app->CreateForm<TestMainForm>();
        EXPECT_EQ(app->MainForm(), form);
        return *form;
    }
    // A click on a title-bar button, with the bar's cursor seam at the button's middle.
    void ClickTitleBarButton(int index) {
        skin::TsuiTitleBar& bar = form->FormMain->TitleBar();
        const skin::ButtonsLayout layout = bar.Layout();
        const auto placed = std::find_if(layout.buttons.begin(), layout.buttons.end(),
                                         [index](const auto& p) { return p.index == index; });
        ASSERT_NE(placed, layout.buttons.end()) << "button " << index << " is not shown";
        const int x = (placed->rect.left + placed->rect.right) / 2;
        const int y = (placed->rect.top + placed->rect.bottom) / 2;
        POINT screen{x, y};
        ::ClientToScreen(bar.Handle(), &screen);
        bar.SetCursorSource([screen] { return std::optional<gui::TPoint>({screen.x, screen.y}); });
        ::SendMessageW(bar.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        ::SendMessageW(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageW(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        bar.SetCursorSource({});
    }
    // The tray menu's first entry chosen: the WM_COMMAND Windows sends the menu's window.
    // (Command numbers are handed out when the menu is built, before it first opens.)
    void ChooseFromTrayMenu(gui::TMenuItem* item) {
        form->PopupMenu->Handle();
        ASSERT_NE(item->Command(), 0u);
        ::PostMessageW(form->PopupMenu->WindowHandle(), WM_COMMAND, item->Command(), 0);
        Pump(30);
    }
};

TEST_F(SkinnedMainWindowTest, TheFrameIsMacOSWithItsTwoButtonsAndThreeSections) {
    TForm1& f = Start();
    skin::TsuiForm& frame = *f.FormMain;
    EXPECT_EQ(frame.UIStyle(), TsuiUIStyle::MacOS);
    EXPECT_FALSE(frame.TitleBarCustom());
    EXPECT_FALSE(frame.UIStyleAutoUpdateSub());
    EXPECT_EQ(frame.BorderColor(), 0x007F7F7Fu);
    EXPECT_EQ(frame.BorderWidth(), 1);
    EXPECT_EQ(frame.Color(), 0x00E7E7E7u);
    EXPECT_FALSE(frame.TitleBarDrawAppIcon());
    EXPECT_EQ(frame.MenuBarColor(), 0x00E7E7E7u);
    EXPECT_EQ(frame.MenuBarHeight(), 22);
    EXPECT_EQ(frame.RoundCorner(), 0);
    EXPECT_EQ(frame.Menu(), nullptr);
    // The language's caption reached the bar and the window.
    EXPECT_EQ(frame.Caption(), L" =Nestora=");
    EXPECT_EQ(f.Caption(), L" =Nestora=");

    skin::TsuiTitleBar& bar = frame.TitleBar();
    EXPECT_EQ(bar.Height(), 23);
    EXPECT_EQ(bar.Font().Name(), L"Tahoma");
    EXPECT_EQ(bar.Font().Height(), -11);
    EXPECT_EQ(bar.Font().Style(), gui::TFontStyles{gui::fsBold});
    EXPECT_EQ(bar.Font().Color(), 0x00000000u);

    ASSERT_EQ(bar.Buttons().Count(), 2);
    const TsuiTitleBarBtnType types[] = {TsuiTitleBarBtnType::suiMin, TsuiTitleBarBtnType::suiHelp};
    for (int i = 0; i < 2; ++i) {
        const skin::TsuiTitleBarButton& b = *bar.Buttons()[i];
        EXPECT_EQ(b.ButtonType(), types[i]) << i;
        EXPECT_EQ(b.UIStyle(), TsuiUIStyle::MacOS) << i;
        EXPECT_FALSE(b.Transparent()) << i;
        EXPECT_EQ(b.Top(), 4) << i;
        EXPECT_TRUE(b.Visible()) << i;
        for (const gui::TPicture* picture : {&b.PicNormal(), &b.PicMouseOn(), &b.PicMouseDown()}) {
            EXPECT_EQ(picture->Width(), 17) << i;
            EXPECT_EQ(picture->Height(), 17) << i;
        }
    }
    // Minimise at the right end, help left of it, the caption from x 3.
    const skin::ButtonsLayout layout = bar.Layout();
    ASSERT_EQ(layout.buttons.size(), 2u);
    EXPECT_EQ(layout.buttons[0].rect.left, 149);
    EXPECT_EQ(layout.buttons[1].rect.left, 131);
    EXPECT_EQ(layout.buttons[0].rect.top, 4);
    EXPECT_EQ(layout.controlBoxIndex, -1);
    EXPECT_EQ(layout.captionLeft, 3);

    ASSERT_EQ(bar.Sections().Count(), 3);
    const struct {
        bool autoSize;
        int width;
        TsuiTitleBarAlign align;
        int pictureWidth;
        bool stretch;
    } sections[] = {{true, 48, TsuiTitleBarAlign::suiLeft, 48, false},
                    {true, 48, TsuiTitleBarAlign::suiRight, 48, false},
                    {false, 10, TsuiTitleBarAlign::suiClient, 49, true}};
    for (int i = 0; i < 3; ++i) {
        const skin::TsuiTitleBarSection& s = *bar.Sections()[i];
        EXPECT_EQ(s.AutoSize(), sections[i].autoSize) << i;
        EXPECT_EQ(s.Width(), sections[i].width) << i;
        EXPECT_EQ(s.Align(), sections[i].align) << i;
        EXPECT_EQ(s.Picture().Width(), sections[i].pictureWidth) << i;
        EXPECT_EQ(s.Picture().Height(), 23) << i;
        EXPECT_EQ(s.Stretch(), sections[i].stretch) << i;
    }
}

TEST_F(SkinnedMainWindowTest, TheTrayMenuIsDrawnInDeepBlueWithTheImageListsPictures) {
    TForm1& f = Start();
    skin::TsuiPopupMenu& menu = *f.PopupMenu;
    EXPECT_EQ(menu.UIStyle(), TsuiUIStyle::DeepBlue);
    EXPECT_TRUE(menu.OwnerDraw());
    EXPECT_EQ(menu.Images(), f.ImgList);
    EXPECT_EQ(menu.MenuItemHeight(), 21);
    EXPECT_EQ(menu.SeparatorHeight(), 5);
    EXPECT_EQ(menu.BarWidth(), 26);
    EXPECT_EQ(menu.BarColor(), 0x00CED3D6u);
    EXPECT_EQ(menu.Color(), 0x00FFFFFFu);
    EXPECT_EQ(menu.SeparatorColor(), 0x00848284u);
    EXPECT_EQ(menu.SelectedBorderColor(), 0x00A04A44u);
    EXPECT_EQ(menu.SelectedColor(), 0x00A04A44u);
    EXPECT_EQ(menu.SelectedFontColor(), 0x00FFFFFFu);
    EXPECT_EQ(menu.FontColor(), 0x00000000u);
    EXPECT_EQ(menu.BorderColor(), 0x00000000u);
    EXPECT_FALSE(menu.FlatMenu());
    EXPECT_EQ(menu.FontName(), L"MS Sans Serif");
    EXPECT_EQ(menu.FontSize(), 8);
    EXPECT_EQ(menu.FontCharset(), 1);
    EXPECT_TRUE(menu.UseSystemFont());
    // Every item, the language sub-menu's too, is measured and drawn by the skin.
    for (gui::TMenuItem* item :
         {f.MenuShowWin, f.Lang, f.LangRus, f.LangEn, f.N2, f.MenuStartProgs, f.N1, f.Exit1}) {
        EXPECT_TRUE(static_cast<bool>(item->OnDrawItem())) << item->Name();
        EXPECT_TRUE(static_cast<bool>(item->OnMeasureItem())) << item->Name();
    }

    // The first entry as Windows has it drawn: the grey bar with the red picture on it,
    // white beside it; chosen, the blue highlight.
    gui::TBitmap row;
    row.SetPixelFormat(gui::TPixelFormat::pf24bit);
    row.SetSize(160, 21);
    const gui::TRect rect{0, 0, 160, 21};
    const auto redPixelsInBar = [&] {
        int red = 0;
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 26; ++x) {
                const gui::TColor c = row.Canvas().Pixel(x, y);
                red += (c & 0xFF) > 0x90 && ((c >> 8) & 0xFF) < 0x70 ? 1 : 0;
            }
        return red;
    };
    menu.DrawMenuItem(f.MenuShowWin, row.Canvas(), rect, false);
    EXPECT_EQ(row.Canvas().Pixel(1, 1), 0x00CED3D6u);
    EXPECT_EQ(row.Canvas().Pixel(150, 10), 0x00FFFFFFu);
    EXPECT_GT(redPixelsInBar(), 20) << "the image list's picture 1";
    menu.DrawMenuItem(f.MenuShowWin, row.Canvas(), rect, true);
    EXPECT_EQ(row.Canvas().Pixel(150, 10), 0x00A04A44u);
    // Greyed while the window is shown: the picture loses its colour.
    f.MenuShowWin->SetEnabled(false);
    menu.DrawMenuItem(f.MenuShowWin, row.Canvas(), rect, false);
    EXPECT_EQ(redPixelsInBar(), 0);
}

TEST_F(SkinnedMainWindowTest, TheFirstMenuEntryShowsTheWindowAndTheHotKeyIsOffUntilItHides) {
    TForm1& f = StartAsMainForm();
    const int id = f.HotKeyId();
    hotKeyCalls.clear();
    ChooseFromTrayMenu(f.MenuShowWin);
    ASSERT_TRUE(PumpUntil([&] { return f.Visible(); }));
    EXPECT_TRUE(::IsWindowVisible(f.Handle()));
    EXPECT_EQ(hotKeyCalls,
              (std::vector<HotKeyCall>{{false, id, 0, 0}, {false, SelectionId(id), 0, 0}}));
    EXPECT_FALSE(f.MenuShowWin->Enabled());
    // The skinned frame on the screen: no system caption, 170 by 134.
    RECT r{};
    ::GetWindowRect(f.Handle(), &r);
    EXPECT_EQ(r.right - r.left, 170);
    EXPECT_EQ(r.bottom - r.top, 134);

    // A key typed in the field, then the title bar's minimise button: the application is
    // minimised and the tray icon hides it; the field's key is registered, the hint renewed.
    f.EditHotKey->SetHotKey(0x4046);
    hotKeyCalls.clear();
    ClickTitleBarButton(0);
    ASSERT_TRUE(PumpUntil([&] { return !f.Visible(); }));
    EXPECT_FALSE(::IsWindowVisible(f.Handle()));
    EXPECT_FALSE(::IsWindowVisible(app->Handle()));
    EXPECT_EQ(hotKeyCalls, (std::vector<HotKeyCall>{{true, id, 0x4002, 'F'},
                                                    {true, SelectionId(id), 0x4006, 'F'}}));
    EXPECT_TRUE(f.MenuShowWin->Enabled());
    EXPECT_EQ(f.abfTray->Hint(), L"Горячая клавиша: Ctrl+F");

    // Shown again and the field emptied: once hidden, nothing is registered and the hint
    // tells there is no hotkey.
    ChooseFromTrayMenu(f.MenuShowWin);
    ASSERT_TRUE(PumpUntil([&] { return f.Visible(); }));
    EXPECT_FALSE(f.MenuShowWin->Enabled());
    f.EditHotKey->SetHotKey(0);
    hotKeyCalls.clear();
    ClickTitleBarButton(0);
    ASSERT_TRUE(PumpUntil([&] { return !f.Visible(); }));
    EXPECT_TRUE(std::none_of(hotKeyCalls.begin(), hotKeyCalls.end(),
                             [](const HotKeyCall& c) { return c.registered; }));
    EXPECT_EQ(f.abfTray->Hint(), f.NoHotKeyHint());
    EXPECT_EQ(f.abfTray->Hint(), L"Горячая клавиша не назначена");
}

TEST_F(SkinnedMainWindowTest, TheFieldsAreMadeWhenTheWindowIsFirstShownWithTheStoredValues) {
    Store(L"Папка", L"Ctrl+F", L"Ru");
    TForm1& f = StartAsMainForm();
    const int id = f.HotKeyId();
    // At rest in the tray the fields have no windows (nor the common controls library
    // loaded for them), yet hold the values read from the settings; the key is registered.
    EXPECT_FALSE(f.Visible());
    EXPECT_FALSE(f.EditHotKey->HandleAllocated());
    EXPECT_FALSE(f.EditNameFolder->HandleAllocated());
    EXPECT_EQ(f.EditHotKey->HotKey(), 0x4046);
    EXPECT_EQ(f.EditNameFolder->Text(), L"Папка");
    // A press while hidden makes the folder under the stored name.
    ::SendMessageW(f.Handle(), WM_HOTKEY, static_cast<WPARAM>(id), 0);
    EXPECT_EQ(DesktopFolders(), (std::vector<std::wstring>{L"Папка"}));
    EXPECT_FALSE(f.EditNameFolder->HandleAllocated());
    ASSERT_FALSE(hotKeyCalls.empty());
    EXPECT_EQ(LastCallFor(id), (HotKeyCall{true, id, 0x4002, 'F'}));
    EXPECT_EQ(f.abfTray->Hint(), L"Горячая клавиша: Ctrl+F");

    // Shown: the field is made, inside the frame, with that key in it.
    ChooseFromTrayMenu(f.MenuShowWin);
    ASSERT_TRUE(PumpUntil([&] { return f.Visible(); }));
    ASSERT_TRUE(f.EditHotKey->HandleAllocated());
    EXPECT_EQ(::GetParent(f.EditHotKey->Handle()), f.FormMain->Handle());
    EXPECT_TRUE(::IsWindowVisible(f.EditHotKey->Handle()));
    EXPECT_EQ(::SendMessageW(f.EditHotKey->Handle(), HKM_GETHOTKEY, 0, 0),
              MAKEWORD('F', HOTKEYF_CONTROL));
    ASSERT_TRUE(f.EditNameFolder->HandleAllocated());
    wchar_t shownName[32] = {};
    ::GetWindowTextW(f.EditNameFolder->Handle(), shownName, 32);
    EXPECT_STREQ(shownName, L"Папка");

    // Hidden again: the key in the field is registered again.
    hotKeyCalls.clear();
    ClickTitleBarButton(0);
    ASSERT_TRUE(PumpUntil([&] { return !f.Visible(); }));
    EXPECT_EQ(hotKeyCalls, (std::vector<HotKeyCall>{{true, id, 0x4002, 'F'},
                                                    {true, SelectionId(id), 0x4006, 'F'}}));
}

TEST_F(SkinnedMainWindowTest, TheHelpButtonSwitchesToTheCreditsAndAClickOnThemReturns) {
    Store(L"x", L"Ctrl+F", L"En");
    TForm1& f = Start();
    f.Show();
    Pump(30);
    ClickTitleBarButton(1);
    EXPECT_FALSE(f.Label2->Visible());
    EXPECT_EQ(f.Label1->Caption(), f.CreditsText());
    EXPECT_EQ(f.Label1->Top(), f.FormMain->TitleBar().Height());
    // The width the credits' padding is made for.
    EXPECT_EQ(f.Label1->Width(), kCreditsLabelWidth);
    EXPECT_TRUE(f.Visible()) << "the help button does not hide the window";

    ::SendMessageW(f.Label1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    ::SendMessageW(f.Label1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
    EXPECT_TRUE(f.Label2->Visible());
    EXPECT_EQ(f.Label1->BoundsRect(), (gui::TRect{20, 32, 149, 45}));
    EXPECT_EQ(f.Label1->Caption(), L"Hot key: ");

    // Twice: there and back.
    ClickTitleBarButton(1);
    EXPECT_FALSE(f.Label2->Visible());
    ClickTitleBarButton(1);
    EXPECT_TRUE(f.Label2->Visible());
    EXPECT_EQ(f.Label1->BoundsRect(), (gui::TRect{20, 32, 149, 45}));
}

TEST_F(SkinnedMainWindowTest, AltAndSpaceOpenTheSkinnedSystemMenuUnderTheTitleBar) {
    TForm1& f = StartAsMainForm();
    EXPECT_TRUE(f.FormMain->InstalledApplicationHook());
    ChooseFromTrayMenu(f.MenuShowWin);
    ASSERT_TRUE(PumpUntil([&] { return f.Visible(); }));
    OpenMenuProbe::Arm();
    ::PostMessageW(f.Handle(), WM_SYSCHAR, VK_SPACE, 1 << 29);
    ASSERT_TRUE(PumpUntil([] { return OpenMenuProbe::runs > 0; }));
    EXPECT_EQ(OpenMenuProbe::seen.left, f.Left());
    EXPECT_EQ(OpenMenuProbe::seen.top, f.Top() + f.FormMain->TitleBar().Height());
    // The window has no maximise button, and it stays shown after the menu closes.
    skin::TsuiTitleBarPopupMenu* menu = f.FormMain->TitleBar().SystemMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->UIStyle(), TsuiUIStyle::MacOS);
    EXPECT_TRUE(f.Visible());
}

TEST_F(SkinnedMainWindowTest, ShowingHidingAndPaintingManyTimesLeaksNoHandles) {
    TForm1& f = StartAsMainForm();
    ChooseFromTrayMenu(f.MenuShowWin);
    ASSERT_TRUE(PumpUntil([&] { return f.Visible(); }));
    f.BtnHideClick(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !f.Visible(); }));
    const long gdi = gui::HandleCounters::LiveGdiObjects();
    const long userObjects = gui::HandleCounters::LiveUserObjects();
    const DWORD start = ::GetTickCount();
    constexpr int kRounds = 100;
    for (int i = 0; i < kRounds; ++i) {
        f.MenuShowWinClick(nullptr);
        f.FormMainTitleBarHelpBtnClick(nullptr, 1);
        ::RedrawWindow(f.Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        f.BtnHideClick(nullptr);
    }
    Pump(30);
    const DWORD elapsed = ::GetTickCount() - start;
    std::printf("[ MEASURED ] %d rounds of show, credits, paint and hide in %lu ms; GDI objects "
                "%ld -> %ld, USER objects %ld -> %ld\n",
                kRounds, static_cast<unsigned long>(elapsed), gdi,
                gui::HandleCounters::LiveGdiObjects(), userObjects,
                gui::HandleCounters::LiveUserObjects());
    EXPECT_EQ(gui::HandleCounters::LiveGdiObjects(), gdi);
    EXPECT_EQ(gui::HandleCounters::LiveUserObjects(), userObjects);
    EXPECT_FALSE(f.Visible());
    EXPECT_TRUE(f.Label2->Visible()) << "hidden in the normal view";
}

} // namespace
} // namespace nestora::app
