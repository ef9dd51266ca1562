#include "app/settings_values.h"

#include <gtest/gtest.h>

namespace nestora::app {
namespace {

TEST(LangSetting, OnlyEnExactlyIsEnglish) {
    EXPECT_EQ(LanguageFromSetting(L"En"), Language::english);
    for (const wchar_t* other : {L"Ru", L"en", L"EN", L"eN", L"De", L"", L"En ", L" En", L"Eng"})
        EXPECT_EQ(LanguageFromSetting(other), Language::russian) << testing::PrintToString(other);
}

TEST(LangSetting, WrittenTextReadsBackAsTheSameLanguage) {
    EXPECT_EQ(LanguageSettingText(Language::russian), L"Ru");
    EXPECT_EQ(LanguageSettingText(Language::english), L"En");
    for (const auto language : {Language::russian, Language::english})
        EXPECT_EQ(LanguageFromSetting(LanguageSettingText(language)), language);
}

TEST(StartUpSetting, AnyNonZeroChecksAndIsWrittenBackAsOne) {
    EXPECT_FALSE(StartUpFromSetting(0));
    for (const std::uint32_t stored : {1u, 2u, 0x80000000u, 0xFFFFFFFFu}) {
        EXPECT_TRUE(StartUpFromSetting(stored)) << stored;
        EXPECT_EQ(StartUpSettingValue(StartUpFromSetting(stored)), 1u) << stored;
    }
    EXPECT_EQ(StartUpSettingValue(false), 0u);
}

} // namespace
} // namespace nestora::app
