#include "app/language_texts.h"

#include "app/folder_name.h"

#include <gtest/gtest.h>

namespace nestora::app {
namespace {

TEST(LanguageTexts, TheFiveTextsOfEachLanguage) {
    const auto& en = TextsOf(Language::english);
    EXPECT_EQ(en.defaultFolderName, L"New Folder");
    EXPECT_EQ(en.hotKeyHintPrefix, L"Hot key: ");
    EXPECT_EQ(en.noHotKeyHint, L"The hot key is not appointed");
    EXPECT_EQ(en.badNameMessage, L"The name of a folder should not contain symbols: ");
    EXPECT_EQ(en.creditsText.size(), 239u);

    const auto& ru = TextsOf(Language::russian);
    EXPECT_EQ(ru.defaultFolderName, L"Новая папка");
    EXPECT_EQ(ru.hotKeyHintPrefix, L"Горячая клавиша: ");
    EXPECT_EQ(ru.noHotKeyHint, L"Горячая клавиша не назначена");
    EXPECT_EQ(ru.badNameMessage, L"Имя папки не должно содержать символы: ");
    EXPECT_EQ(ru.creditsText.size(), 227u);
}

// The menus are addressed by position: the captions must skip the two separators of the
// tray menu (positions 2 and 4), in both languages alike.
TEST(LanguageTexts, MenuCaptionsSkipTheSeparators) {
    for (const auto language : {Language::russian, Language::english}) {
        const auto& texts = TextsOf(language);
        const int trayPositions[] = {0, 1, 3, 5};
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(texts.trayMenuCaptions[i].position, trayPositions[i]);
            EXPECT_FALSE(texts.trayMenuCaptions[i].text.empty());
        }
        EXPECT_EQ(texts.languageMenuCaptions[0].position, 0);
        EXPECT_EQ(texts.languageMenuCaptions[1].position, 1);
    }
    EXPECT_EQ(TextsOf(Language::english).trayMenuCaptions[3].text, L"Exit");
    EXPECT_EQ(TextsOf(Language::russian).languageMenuCaptions[1].text,
              L"Английский (English)");
}

TEST(LanguageTexts, ForbiddenListNamesTheTenCharactersInOrder) {
    EXPECT_EQ(kForbiddenCharactersText.size(), 28u);
    for (std::size_t i = 0; i < kForbiddenNameCharacters.size(); ++i) {
        EXPECT_EQ(kForbiddenCharactersText[i * 3], kForbiddenNameCharacters[i]) << i;
        if (i + 1 < kForbiddenNameCharacters.size()) {
            EXPECT_EQ(kForbiddenCharactersText.substr(i * 3 + 1, 2), L", ") << i;
        }
    }
    EXPECT_EQ(BadNameMessageText(TextsOf(Language::english)),
              L"The name of a folder should not contain symbols: \\, /, :, *, ., ?, \", <, >, |");
    EXPECT_EQ(BadNameMessageText(TextsOf(Language::russian)),
              L"Имя папки не должно содержать символы: \\, /, :, *, ., ?, \", <, >, |");
}

TEST(TrayHint, LeadTextAndHotKeyOrTheNoHotKeyText) {
    const auto& en = TextsOf(Language::english);
    const auto& ru = TextsOf(Language::russian);
    EXPECT_EQ(TrayHint(en, L"Ctrl+`"), L"Hot key: Ctrl+`");
    EXPECT_EQ(TrayHint(ru, L"Ctrl+Ё"), L"Горячая клавиша: Ctrl+Ё");
    EXPECT_EQ(TrayHint(en, L""), L"The hot key is not appointed");
    EXPECT_EQ(TrayHint(ru, L""), L"Горячая клавиша не назначена");
}

} // namespace
} // namespace nestora::app
