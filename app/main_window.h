// TForm1 (object Form1): the program's one window, a small settings dialog that is
// normally hidden while the program lives in the notification area.
//
// It holds the hotkey field and the folder-name field, and owns the tray menu, its image
// list, the tray icon, the start-with-Windows entry and the single-instance guard. Its handlers tie
// together the settings (ReadRegParam / WriteRegParam), the global hotkey and the folder creation
// (SetHotKeyForFolder / WMHotKey) and the two languages.
//
// Life story:
//   created   the description "MAINWINDOW" (resources/main_window.txt) creates every
//             component, in its order, all owned by the window; their loaded steps put the
//             icon into the tray, remove the run entry and, in a second copy, show the
//             guard's message and ask the application to end. Then FormCreate reads the
//             settings (applying the stored language), registers the hotkey and sets the
//             tray hint.
//   hidden    the hotkey is registered: a press creates a folder (WMHotKey). A combination
//             another program holds is said so in the tray hint and a balloon, never
//             advertised; a folder that could not be made is told in a balloon. With it
//             goes the selection key (the hotkey with Shift added), which moves the items
//             selected in the window into the new folder; it is said nowhere, and a
//             hotkey holding Shift, or a selection key another program holds, simply has
//             none. A new folder in an Explorer window is put into rename mode there.
//   shown     FormShow unregisters both so a new combination can be typed, and greys the
//             menu entry that shows the window; FormHide registers the field's combination
//             again and returns to the normal view.
//   ending    FormDestroy (or WM_ENDSESSION when the session ends, whichever comes first:
//             the steps run once) writes the settings and sets the run entry from the menu's
//             check mark; FormDestroy then unregisters the hotkey.
//
// The tray icon keeps the window hidden at start (MinimizeOnStart) and shows and hides it
// from its menu and its double click; the window sets its tooltip by the hint rule.
//
// The look: FormMain is the skinned frame (MacOS, with a minimise and a help button in its
// title bar; the minimise button hides the window to the tray through the tray icon's
// minimise handling, the help button switches to the credits), and the tray menu is drawn
// by the skin in DeepBlue with the image list's pictures.
//
// Everything the window reaches outside itself comes through AppSeams, so tests run the
// real window against scratch registry keys and fake shells.
#pragma once

#include "gui/win/graphics_win32.h"

#include "app/app_seams.h"
#include "app/folder_rename.h"
#include "app/language_texts.h"
#include "app/win_thread_timer.h"

#include "desktop/auto_run.h"
#include "desktop/one_instance.h"
#include "desktop/tray_icon.h"
#include "gui/win/edit.h"
#include "gui/win/form.h"
#include "gui/win/hot_key.h"
#include "gui/win/image_list.h"
#include "gui/win/label.h"
#include "gui/win/popup_menu.h"
#include "skin/menus/sui_popup_menu.h"
#include "skin/sui_form.h"

#include <string>

namespace nestora::app {

// The RCDATA resource holding the main window's description.
inline constexpr wchar_t kMainWindowResource[] = L"MAINWINDOW";

// A global atom that is deleted again when it goes.
class GlobalAtom {
public:
    explicit GlobalAtom(const wchar_t* name) : atom_(::GlobalAddAtomW(name)) {}
    ~GlobalAtom() {
        if (atom_)
            ::GlobalDeleteAtom(atom_);
    }
    GlobalAtom(const GlobalAtom&) = delete;
    GlobalAtom& operator=(const GlobalAtom&) = delete;
    ATOM get() const { return atom_; }

private:
    ATOM atom_;
};

class TForm1 : public gui::TForm {
public:
    // The real system.
    explicit TForm1(gui::TComponent* owner);
    TForm1(gui::TComponent* owner, AppSeams seams);
    ~TForm1() override;

    static const gui::ClassInfo& StaticClassInfo();
    const gui::ClassInfo& GetClassInfo() const override { return StaticClassInfo(); }

    // Components of the description.
    skin::TsuiForm* FormMain = nullptr;
    gui::TLabel* Label1 = nullptr;
    gui::TLabel* Label2 = nullptr;
    gui::TLabel* Label3 = nullptr;
    gui::THotKey* EditHotKey = nullptr;
    gui::TEdit* EditNameFolder = nullptr;
    desktop::TabfTrayIcon* abfTray = nullptr;
    skin::TsuiPopupMenu* PopupMenu = nullptr;
    gui::TMenuItem* MenuShowWin = nullptr;
    gui::TMenuItem* Lang = nullptr;
    gui::TMenuItem* LangRus = nullptr;
    gui::TMenuItem* LangEn = nullptr;
    gui::TMenuItem* N2 = nullptr;
    gui::TMenuItem* MenuStartProgs = nullptr;
    gui::TMenuItem* N1 = nullptr;
    gui::TMenuItem* Exit1 = nullptr;
    gui::TImageList* ImgList = nullptr;
    desktop::TabfAutoRun* AutoRunApp = nullptr;
    desktop::TabfOneInstance* OneInstance = nullptr;

    // Window events.
    void FormCreate(gui::TObject* sender);
    void FormShow(gui::TObject* sender);
    void FormHide(gui::TObject* sender);
    void FormDestroy(gui::TObject* sender);
    void Exit1Click(gui::TObject* sender);
    void Label1Click(gui::TObject* sender);
    void MenuShowWinClick(gui::TObject* sender);
    void BtnHideClick(gui::TObject* sender);
    void FormMainTitleBarHelpBtnClick(gui::TObject* sender, int buttonIndex);
    void EditNameFolderKeyUp(gui::TObject* sender, unsigned short& key, gui::TShiftState shift);

    // Languages and the credits view.
    void LangRusClick(gui::TObject* sender);
    void LangEnClick(gui::TObject* sender);
    void SetLanguageRu();
    void SetLanguageEn();
    void AboutCredits(bool show);

    // Settings.
    void ReadRegParam();
    void WriteRegParam();

    // The hotkey and the folders.
    void SetHotKeyForFolder();
    void WMHotKey(gui::TMessage& message);
    void NewFolderOnDesktop();

    // The five texts of the language applied last (Russian before any is applied, as the
    // description's captions are).
    Language CurrentLanguage() const { return language_; }
    const LanguageTexts& Texts() const { return TextsOf(language_); }
    std::wstring DefaultFolderName() const { return std::wstring(Texts().defaultFolderName); }
    std::wstring HotKeyHintPrefix() const { return std::wstring(Texts().hotKeyHintPrefix); }
    std::wstring CreditsText() const { return std::wstring(Texts().creditsText); }
    std::wstring NoHotKeyHint() const { return std::wstring(Texts().noHotKeyHint); }
    std::wstring BadNameMessage() const { return std::wstring(Texts().badNameMessage); }

    // The identifier the hotkey is registered under (low 8 bits of the atom "hotkey").
    int HotKeyId() const;
    // The identifier of the selection key (the hotkey with Shift).
    int SelectionKeyId() const;
    // The text form of the hotkey field's value ("Ctrl+…"; empty for none).
    std::wstring HotKeyText() const;
    // Components get their seams as the description creates them.
    bool BindField(std::wstring_view name, gui::TComponent* component) override;

private:
    void PublishFieldsAndMethods();
    void ApplyLanguage(Language language);
    void UpdateTrayHint();
    // The four settings as the controls hold them now (at start: the window's defaults).
    StoredSettings ControlSettings() const;
    // Writing the settings and setting the run entry, once per program run.
    void RunEndingSteps();
    void WMEndSession(gui::TMessage& message);
    void UnregisterHotKey();
    // A balloon from the tray icon, titled with the application's title.
    void ShowTrayBalloon(const std::wstring& text, desktop::TabfTrayIconInfoType type);
    // The targets of a press, reporting what they could not do in balloons.
    NewFolderTargets Targets();

    AppSeams seams_;
    GlobalAtom hotKeyAtom_{L"hotkey"};
    Language language_ = Language::russian;
    bool hotKeyRegistered_ = false;
    bool selectionKeyRegistered_ = false;
    // The rename of the last folder made in an Explorer window, waiting for its view.
    ThreadTimer windowRenameTimer_;
    FolderRename windowRename_{windowRenameTimer_};
    // A stored hotkey text no layout could read: written back as it was, not as "none",
    // until the user sets a key (the layout that names its key may come back).
    std::wstring unreadHotKeyText_;
    // The last registration failed: another program holds the combination.
    bool hotKeyTaken_ = false;
    bool endingStepsDone_ = false;
};

// The classes the main window's description may create.
const gui::ClassRegistry& MainWindowClasses();

} // namespace nestora::app
