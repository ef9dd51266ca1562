// TForm1's construction, its window events and its menu handlers.
#include "app/main_window.h"

#include "app/hotkey_registration.h"
#include "app/settings_values.h"

#include "gui/core/class_builder.h"
#include "gui/win/application.h"
#include "gui/win/standard_classes.h"
#include "skin/menus/sui_popup_menu.h"
#include "skin/sui_form.h"

namespace nestora::app {

const gui::ClassRegistry& MainWindowClasses() {
    static const gui::ClassRegistry classes = [] {
        gui::ClassRegistry registry;
        gui::RegisterStandardClasses(registry);
        registry.Register(skin::TsuiForm::StaticClassInfo());
        registry.Register(skin::TsuiPopupMenu::StaticClassInfo());
        registry.Register(gui::TMenuItem::StaticClassInfo());
        registry.Register(gui::TImageList::StaticClassInfo());
        registry.Register(desktop::TabfTrayIcon::StaticClassInfo());
        registry.Register(desktop::TabfAutoRun::StaticClassInfo());
        registry.Register(desktop::TabfOneInstance::StaticClassInfo());
        return registry;
    }();
    return classes;
}

const gui::ClassInfo& TForm1::StaticClassInfo() {
    static const gui::ClassInfo info =
        gui::ClassBuilder<TForm1>("TForm1", &gui::TForm::StaticClassInfo()).Build();
    return info;
}

TForm1::TForm1(gui::TComponent* owner) : TForm1(owner, SystemSeams()) {}

TForm1::TForm1(gui::TComponent* owner, AppSeams seams)
    : gui::TForm(owner), seams_(std::move(seams)) {
    PublishFieldsAndMethods();
    SetMessageHandler(WM_HOTKEY, [this](gui::TMessage& message) { WMHotKey(message); });
    SetMessageHandler(WM_ENDSESSION, [this](gui::TMessage& message) { WMEndSession(message); });
    ReadDescriptionResource(kMainWindowResource, MainWindowClasses());
}

TForm1::~TForm1() = default;

void TForm1::PublishFieldsAndMethods() {
    fields_.Add(L"FormMain", FormMain);
    fields_.Add(L"Label1", Label1);
    fields_.Add(L"Label2", Label2);
    fields_.Add(L"Label3", Label3);
    fields_.Add(L"EditHotKey", EditHotKey);
    fields_.Add(L"EditNameFolder", EditNameFolder);
    fields_.Add(L"abfTray", abfTray);
    fields_.Add(L"PopupMenu", PopupMenu);
    fields_.Add(L"MenuShowWin", MenuShowWin);
    fields_.Add(L"Lang", Lang);
    fields_.Add(L"LangRus", LangRus);
    fields_.Add(L"LangEn", LangEn);
    fields_.Add(L"N2", N2);
    fields_.Add(L"MenuStartProgs", MenuStartProgs);
    fields_.Add(L"N1", N1);
    fields_.Add(L"Exit1", Exit1);
    fields_.Add(L"ImgList", ImgList);
    fields_.Add(L"AutoRunApp", AutoRunApp);
    fields_.Add(L"OneInstance", OneInstance);

    using gui::TNotifyEvent;
    methods_.Add<TNotifyEvent>("FormCreate", [this](TObject* s) { FormCreate(s); });
    methods_.Add<TNotifyEvent>("FormShow", [this](TObject* s) { FormShow(s); });
    methods_.Add<TNotifyEvent>("FormHide", [this](TObject* s) { FormHide(s); });
    methods_.Add<TNotifyEvent>("FormDestroy", [this](TObject* s) { FormDestroy(s); });
    methods_.Add<TNotifyEvent>("Exit1Click", [this](TObject* s) { Exit1Click(s); });
    methods_.Add<TNotifyEvent>("Label1Click", [this](TObject* s) { Label1Click(s); });
    methods_.Add<TNotifyEvent>("MenuShowWinClick", [this](TObject* s) { MenuShowWinClick(s); });
    methods_.Add<TNotifyEvent>("BtnHideClick", [this](TObject* s) { BtnHideClick(s); });
    methods_.Add<TNotifyEvent>("LangRusClick", [this](TObject* s) { LangRusClick(s); });
    methods_.Add<TNotifyEvent>("LangEnClick", [this](TObject* s) { LangEnClick(s); });
    methods_.Add<gui::TKeyEvent>("EditNameFolderKeyUp",
                                 [this](TObject* s, unsigned short& key, gui::TShiftState shift) {
                                     EditNameFolderKeyUp(s, key, shift);
                                 });
    methods_.Add<std::function<void(TObject*, int)>>(
        "FormMainTitleBarHelpBtnClick",
        [this](TObject* s, int button) { FormMainTitleBarHelpBtnClick(s, button); });
}

bool TForm1::BindField(std::wstring_view name, gui::TComponent* component) {
    if (auto* tray = dynamic_cast<desktop::TabfTrayIcon*>(component))
        tray->SetShell(seams_.trayShell);
    if (auto* autoRun = dynamic_cast<desktop::TabfAutoRun*>(component))
        autoRun->SetRegistry(seams_.runKeys);
    return gui::TForm::BindField(name, component);
}

void TForm1::FormCreate(TObject*) {
    // A settings value that can't be read is reported, but the hotkey and the tray hint
    // are set up all the same: a program living in the tray whose hotkey silently stays
    // dead after a registry error would be no use until the user happened to open and
    // hide its window.
    std::exception_ptr readError;
    try {
        // Values a cut write never reached take the window's own before anything is read.
        CompleteSettings(seams_.settings, ControlSettings(), [](const std::wstring& lang) {
            return std::wstring(TextsOf(LanguageFromSetting(lang)).defaultFolderName);
        });
        ReadRegParam();
    } catch (...) {
        readError = std::current_exception();
    }
    // The menu shows what Windows will do: an entry disabled in Task Manager does not start.
    if (MenuStartProgs->Checked() && AutoRunApp->DisabledByUser())
        MenuStartProgs->SetChecked(false);
    SetHotKeyForFolder();
    UpdateTrayHint();
    // Loading the window took the run entry away; it is put back at once from the stored
    // "StartUp", so a program that is killed or loses its power before a normal end still
    // starts with Windows next time. Changes made in the menu still reach it at the end.
    AutoRunApp->SetAutoRun(MenuStartProgs->Checked());
    if (readError)
        std::rethrow_exception(readError);
}

StoredSettings TForm1::ControlSettings() const {
    StoredSettings settings;
    settings.startUp = StartUpSettingValue(MenuStartProgs->Checked());
    settings.folderName = EditNameFolder->Text();
    settings.hotKey = HotKeyText();
    if (settings.hotKey.empty())
        settings.hotKey = unreadHotKeyText_;
    settings.lang = std::wstring(
        LanguageSettingText(LangRus->Checked() ? Language::russian : Language::english));
    return settings;
}

void TForm1::FormShow(TObject*) {
    UnregisterHotKey();
    MenuShowWin->SetEnabled(false);
}

void TForm1::FormHide(TObject*) {
    if (EditNameFolder->Text().empty())
        EditNameFolder->SetText(DefaultFolderName());
    if (EditHotKey->HotKey() != 0)
        unreadHotKeyText_.clear(); // the user's new key replaces the unread text
    SetHotKeyForFolder();
    UpdateTrayHint();
    MenuShowWin->SetEnabled(true);
    AboutCredits(false);
}

void TForm1::FormDestroy(TObject*) {
    // The hotkey goes whatever happens to the settings.
    std::exception_ptr error;
    try {
        RunEndingSteps();
    } catch (...) {
        error = std::current_exception();
    }
    UnregisterHotKey();
    if (error)
        std::rethrow_exception(error);
}

void TForm1::WMEndSession(gui::TMessage& message) {
    // Windows may end the process as soon as this returns, before the window is ever
    // destroyed: what FormDestroy would save is saved now.
    if (message.WParam)
        RunEndingSteps();
    message.Result = 0;
}

void TForm1::RunEndingSteps() {
    if (endingStepsDone_)
        return;
    endingStepsDone_ = true;
    // The run entry is set even when the settings can't be written.
    std::exception_ptr error;
    try {
        WriteRegParam();
    } catch (...) {
        error = std::current_exception();
    }
    AutoRunApp->SetAutoRun(MenuStartProgs->Checked());
    if (error)
        std::rethrow_exception(error);
}

void TForm1::Exit1Click(TObject*) {
    Close();
}

void TForm1::Label1Click(TObject*) {
    AboutCredits(false);
}

void TForm1::MenuShowWinClick(TObject*) {
    abfTray->ShowApplication();
}

void TForm1::BtnHideClick(TObject*) {
    abfTray->HideApplication();
}

void TForm1::FormMainTitleBarHelpBtnClick(TObject*, int) {
    AboutCredits(Label2->Visible());
}

void TForm1::UpdateTrayHint() {
    abfTray->SetHint(hotKeyTaken_ ? HotKeyTakenText(Texts(), HotKeyText())
                                  : TrayHint(Texts(), HotKeyText()));
}

} // namespace nestora::app
