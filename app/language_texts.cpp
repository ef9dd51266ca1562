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

} // namespace nestora::app
