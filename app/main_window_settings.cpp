// TForm1: reading the settings into the window's controls and writing them back.
//
// The controls are the settings while the program runs; the registry is read once at
// start and written once at the end (win_settings_store.h says where and how).
#include "app/main_window.h"

#include "app/settings_values.h"

#include <exception>

namespace nestora::app {

void TForm1::ReadRegParam() {
    SettingsReader reader(seams_.settings);
    if (!reader.Found()) {
        // First start: the window's state at load becomes the stored settings.
        WriteRegParam();
        SetLanguageRu();
        LangRus->SetChecked(true);
        LangEn->SetChecked(false);
        return;
    }
    // A value that can't be read is reported (the first such error, once all are read),
    // but it doesn't keep the values after it from being read: they would otherwise keep
    // the window's defaults and be written over with them when the program ends, losing
    // settings that were perfectly readable.
    std::exception_ptr firstError;
    const auto readValue = [&firstError](const auto& read) {
        try {
            read();
            return true;
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
            return false;
        }
    };
    readValue([&] { MenuStartProgs->SetChecked(StartUpFromSetting(reader.StartUp())); });
    const bool nameRead = readValue([&] { EditNameFolder->SetText(reader.FolderName()); });
    readValue([&] {
        const std::wstring text = reader.HotKey();
        const ShortcutWord word = ShortcutFromAnyLayout(
            text, seams_.keyNames,
            seams_.installedKeyNames ? seams_.installedKeyNames() : std::vector<KeyNameSource>());
        EditHotKey->SetHotKey(word);
        unreadHotKeyText_ = word == 0 ? text : std::wstring();
    });
    std::wstring lang;
    readValue([&] { lang = reader.Lang(); });
    if (LanguageFromSetting(lang) == Language::english) {
        SetLanguageEn();
        LangRus->SetChecked(false);
        LangEn->SetChecked(true);
    } else {
        SetLanguageRu();
        LangRus->SetChecked(true);
        LangEn->SetChecked(false);
    }
    // An unreadable name gives way to the stored language's own default, not the
    // description's Russian one.
    if (!nameRead)
        EditNameFolder->SetText(DefaultFolderName());
    if (firstError)
        std::rethrow_exception(firstError);
}

void TForm1::WriteRegParam() {
    WriteSettings(seams_.settings, ControlSettings());
}

} // namespace nestora::app
