// The program's texts in its two languages, Russian and English.
//
// Applying a language puts these captions on the window, its frame, its label and the tray
// menu, and keeps the last five texts for later use (the default folder name, the tray
// hint's lead text, the credits, the hint when there is no hotkey, and the lead text of
// the bad-name message). The tables are fixed data; nothing here changes at run time.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace nestora::app {

enum class Language { russian, english };

// A menu item addressed by its position in its menu (separators count).
struct MenuCaption {
    int position;
    std::wstring_view text;
};

struct LanguageTexts {
    std::wstring_view windowCaption;                 // the window and its skinned frame
    std::wstring_view applicationTitle;              // caption of the program's message boxes
    std::wstring_view folderNameLabel;               // the label over the folder-name field
    std::array<MenuCaption, 4> trayMenuCaptions;     // positions 0, 1, 3, 5
    std::array<MenuCaption, 2> languageMenuCaptions; // the language submenu, 0 and 1

    std::wstring_view defaultFolderName;
    std::wstring_view hotKeyHintPrefix;
    std::wstring_view creditsText;
    std::wstring_view noHotKeyHint;
    std::wstring_view badNameMessage;

    // The hotkey another program holds: lead + the key's text + advice, the tray hint and
    // the balloon alike (it must fit the hint's 127 characters).
    std::wstring_view hotKeyTakenLead;
    std::wstring_view hotKeyTakenAdvice;
    // A folder that could not be made: lead + the target folder + ": " + the system's reason.
    std::wstring_view folderNotMadeLead;
    // A press in a window that shows no folder on disk (This PC, a search).
    std::wstring_view noFolderOnDisk;
};

const LanguageTexts& TextsOf(Language language);

// The forbidden characters as the bad-name message lists them, the same in both
// languages: each but the last followed by a comma and a blank.
inline constexpr std::wstring_view kForbiddenCharactersText = L"\\, /, :, *, ., ?, \", <, >, |";

// The whole text of the message shown when a typed name holds a forbidden character.
std::wstring BadNameMessageText(const LanguageTexts& texts);

// The tray icon's tooltip: the lead text and the hotkey's text form, or the no-hotkey
// text when the hotkey has no text form.
std::wstring TrayHint(const LanguageTexts& texts, std::wstring_view hotKeyText);

// The tooltip and the balloon when the hotkey could not be registered: never the plain
// hint, which would advertise a key that does nothing.
std::wstring HotKeyTakenText(const LanguageTexts& texts, std::wstring_view hotKeyText);

// The balloon for a folder that could not be made in target, with the system's reason.
std::wstring FolderNotMadeText(const LanguageTexts& texts, std::wstring_view target,
                               std::wstring_view reason);

} // namespace nestora::app
