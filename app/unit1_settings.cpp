// TForm1: reading the settings into the window's controls and writing them back.
//
// The controls are the settings while the program runs; the registry is read once at
// start and written once at the end (win_settings_store.h says where and how).
#include "app/unit1.h"

#include "app/settings_values.h"

namespace nestora::app {

void TForm1::ReadRegParam() {
    SettingsReader reader(seams_.settings);
    if (!reader.found()) {
        // First start: the window's state at load becomes the stored settings.
        WriteRegParam();
        SetLanguageRu();
        LangRus->SetChecked(true);
        LangEn->SetChecked(false);
        return;
    }
    // Each value is taken as soon as it is read: an error ends the reading with the values
    // before it in place and the rest as they were.
    MenuStartProgs->SetChecked(startUpFromSetting(reader.startUp()));
    EditNameFolder->SetText(reader.folderName());
    EditHotKey->SetHotKey(shortcutFromText(reader.hotKey(), seams_.keyNames));
    if (languageFromSetting(reader.lang()) == Language::english) {
        SetLanguageEn();
        LangRus->SetChecked(false);
        LangEn->SetChecked(true);
    } else {
        SetLanguageRu();
        LangRus->SetChecked(true);
        LangEn->SetChecked(false);
    }
}

void TForm1::WriteRegParam() {
    StoredSettings settings;
    settings.startUp = startUpSettingValue(MenuStartProgs->Checked());
    settings.folderName = EditNameFolder->Text();
    settings.hotKey = HotKeyText();
    settings.lang = std::wstring(
        languageSettingText(LangRus->Checked() ? Language::russian : Language::english));
    writeSettings(seams_.settings, settings);
}

} // namespace nestora::app
