#include "app/language_texts.h"

#include "app/credits_text.h"

namespace nestora::app {

namespace {

const LanguageTexts& RussianTexts() {
    static const std::wstring credits = CreditsText(Language::russian);
    static const LanguageTexts texts{
        L" =Nestora=",
        L"=Nestora=",
        L"Имя новой папки :",
        {{{0, L"Настройки"}, {1, L"Язык (Language)"}, {3, L"Стартовать с Windows"}, {5, L"Выход"}}},
        {{{0, L"Русский (Russian)"}, {1, L"Английский (English)"}}},
        L"Новая папка",
        L"Горячая клавиша: ",
        credits,
        L"Горячая клавиша не назначена",
        L"Имя папки не должно содержать символы: ",
        L"Горячая клавиша ",
        L" занята другой программой. Выберите другую: «Настройки» в меню значка.",
        L"Не удалось создать папку в ",
        L"Это окно не показывает папку на диске: новую папку здесь не создать.",
    };
    return texts;
}

const LanguageTexts& EnglishTexts() {
    static const std::wstring credits = CreditsText(Language::english);
    static const LanguageTexts texts{
        L"  = Nestora =",
        L"= Nestora =",
        L"Name of a new folder:",
        {{{0, L"Settings"}, {1, L"Language"}, {3, L"Start with Windows"}, {5, L"Exit"}}},
        {{{0, L"Russian"}, {1, L"English"}}},
        L"New Folder",
        L"Hot key: ",
        credits,
        L"The hot key is not appointed",
        L"The name of a folder should not contain symbols: ",
        L"Hot key ",
        L" is taken by another program. Choose another: Settings in this icon's menu.",
        L"Could not create a folder in ",
        L"This window shows no folder on disk: a new folder cannot be made here.",
    };
    return texts;
}

} // namespace

const LanguageTexts& TextsOf(Language language) {
    return language == Language::english ? EnglishTexts() : RussianTexts();
}

std::wstring BadNameMessageText(const LanguageTexts& texts) {
    return std::wstring(texts.badNameMessage) + std::wstring(kForbiddenCharactersText);
}

std::wstring TrayHint(const LanguageTexts& texts, std::wstring_view hotKeyText) {
    if (hotKeyText.empty())
        return std::wstring(texts.noHotKeyHint);
    return std::wstring(texts.hotKeyHintPrefix) + std::wstring(hotKeyText);
}

std::wstring HotKeyTakenText(const LanguageTexts& texts, std::wstring_view hotKeyText) {
    return std::wstring(texts.hotKeyTakenLead) + std::wstring(hotKeyText) +
           std::wstring(texts.hotKeyTakenAdvice);
}

std::wstring FolderNotMadeText(const LanguageTexts& texts, std::wstring_view target,
                               std::wstring_view reason) {
    std::wstring text = std::wstring(texts.folderNotMadeLead) + std::wstring(target);
    if (!reason.empty())
        text += L": " + std::wstring(reason);
    return text;
}

} // namespace nestora::app
