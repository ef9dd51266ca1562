#include "app/settings_values.h"

#include <gtest/gtest.h>

namespace nestora::app {
namespace {

TEST(LangSetting, OnlyEnExactlyIsEnglish) {
    EXPECT_EQ(languageFromSetting(L"En"), Language::english);
    for (const wchar_t* other : {L"Ru", L"en", L"EN", L"eN", L"De", L"", L"En ", L" En", L"Eng"})
        EXPECT_EQ(languageFromSetting(other), Language::russian) << testing::PrintToString(other);
}

TEST(LangSetting, WrittenTextReadsBackAsTheSameLanguage) {
    EXPECT_EQ(languageSettingText(Language::russian), L"Ru");
    EXPECT_EQ(languageSettingText(Language::english), L"En");
    for (const auto language : {Language::russian, Language::english})
        EXPECT_EQ(languageFromSetting(languageSettingText(language)), language);
}

TEST(StartUpSetting, AnyNonZeroChecksAndIsWrittenBackAsOne) {
    EXPECT_FALSE(startUpFromSetting(0));
    for (const std::uint32_t stored : {1u, 2u, 0x80000000u, 0xFFFFFFFFu}) {
        EXPECT_TRUE(startUpFromSetting(stored)) << stored;
        EXPECT_EQ(startUpSettingValue(startUpFromSetting(stored)), 1u) << stored;
    }
    EXPECT_EQ(startUpSettingValue(false), 0u);
}

} // namespace
} // namespace nestora::app
