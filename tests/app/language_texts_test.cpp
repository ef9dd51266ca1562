#include "app/language_texts.h"

#include "app/folder_name.h"

#include <gtest/gtest.h>

namespace nestora::app {
namespace {

TEST(LanguageTexts, TheFiveTextsOfEachLanguage) {
    const auto& en = languageTexts(Language::english);
    EXPECT_EQ(en.defaultFolderName, L"New Folder");
    EXPECT_EQ(en.hotKeyHintPrefix, L"Hot key: ");
    EXPECT_EQ(en.noHotKeyHint, L"The hot key is not appointed");
    EXPECT_EQ(en.badNameMessage, L"The name of a folder should not contain symbols: ");
    EXPECT_EQ(en.creditsText.size(), 239u);

    const auto& ru = languageTexts(Language::russian);
    EXPECT_EQ(ru.defaultFolderName, L"Новая папка");
    EXPECT_EQ(ru.hotKeyHintPrefix, L"Горячая клавиша: ");
    EXPECT_EQ(ru.noHotKeyHint, L"Горячая клавиша не назначена");
    EXPECT_EQ(ru.badNameMessage, L"Имя папки не должно содержать символы: ");
    EXPECT_EQ(ru.creditsText.size(), 227u);
}

TEST(LanguageTexts, CaptionsOfWindowTitleAndLabel) {
    const auto& en = languageTexts(Language::english);
    EXPECT_EQ(en.windowCaption, L"  = Nestora =");
    EXPECT_EQ(en.applicationTitle, L"= Nestora =");
    EXPECT_EQ(en.folderNameLabel, L"Name of a new folder:");
    const auto& ru = languageTexts(Language::russian);
    EXPECT_EQ(ru.windowCaption, L" =Nestora=");
    EXPECT_EQ(ru.applicationTitle, L"=Nestora=");
    EXPECT_EQ(ru.folderNameLabel, L"Имя новой папки :");
}

TEST(LanguageTexts, MenuCaptionsSkipTheSeparators) {
    const auto& en = languageTexts(Language::english);
    const std::pair<int, std::wstring_view> tray[] = {
        {0, L"Settings"}, {1, L"Language"}, {3, L"Start with Windows"}, {5, L"Exit"}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(en.trayMenuCaptions[i].position, tray[i].first);
        EXPECT_EQ(en.trayMenuCaptions[i].text, tray[i].second);
    }
    EXPECT_EQ(en.languageMenuCaptions[0].text, L"Russian");
    EXPECT_EQ(en.languageMenuCaptions[1].text, L"English");

    const auto& ru = languageTexts(Language::russian);
    const std::pair<int, std::wstring_view> trayRu[] = {
        {0, L"Настройки"}, {1, L"Язык (Language)"}, {3, L"Стартовать с Windows"}, {5, L"Выход"}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(ru.trayMenuCaptions[i].position, trayRu[i].first);
        EXPECT_EQ(ru.trayMenuCaptions[i].text, trayRu[i].second);
    }
    EXPECT_EQ(ru.languageMenuCaptions[0].position, 0);
    EXPECT_EQ(ru.languageMenuCaptions[0].text, L"Русский (Russian)");
    EXPECT_EQ(ru.languageMenuCaptions[1].position, 1);
    EXPECT_EQ(ru.languageMenuCaptions[1].text, L"Английский (English)");
}

TEST(LanguageTexts, ForbiddenListNamesTheTenCharactersInOrder) {
    EXPECT_EQ(kForbiddenCharactersText.size(), 28u);
    for (std::size_t i = 0; i < kForbiddenNameCharacters.size(); ++i) {
        EXPECT_EQ(kForbiddenCharactersText[i * 3], kForbiddenNameCharacters[i]) << i;
        if (i + 1 < kForbiddenNameCharacters.size()) {
            EXPECT_EQ(kForbiddenCharactersText.substr(i * 3 + 1, 2), L", ") << i;
        }
    }
    EXPECT_EQ(badNameMessageText(languageTexts(Language::english)),
              L"The name of a folder should not contain symbols: \\, /, :, *, ., ?, \", <, >, |");
    EXPECT_EQ(badNameMessageText(languageTexts(Language::russian)),
              L"Имя папки не должно содержать символы: \\, /, :, *, ., ?, \", <, >, |");
}

TEST(TrayHint, LeadTextAndHotKeyOrTheNoHotKeyText) {
    const auto& en = languageTexts(Language::english);
    const auto& ru = languageTexts(Language::russian);
    EXPECT_EQ(trayHint(en, L"Ctrl+`"), L"Hot key: Ctrl+`");
    EXPECT_EQ(trayHint(ru, L"Ctrl+Ё"), L"Горячая клавиша: Ctrl+Ё");
    EXPECT_EQ(trayHint(en, L""), L"The hot key is not appointed");
    EXPECT_EQ(trayHint(ru, L""), L"Горячая клавиша не назначена");
}

} // namespace
} // namespace nestora::app
