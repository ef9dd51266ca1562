// The settings' registry values and what they mean to the program, apart from the
// registry itself.
//
// "Lang" is "Ru" or "En"; only "En" exactly selects English, anything else (another case,
// another language, a missing value) gives Russian. "StartUp" is a number: any non-zero
// value means start with Windows, and it is written back as 1 or 0.
#pragma once

#include "app/language_texts.h"

#include <cstdint>
#include <string_view>

namespace nestora::app {

Language LanguageFromSetting(std::wstring_view lang);
std::wstring_view LanguageSettingText(Language language);

bool StartUpFromSetting(std::uint32_t value);
std::uint32_t StartUpSettingValue(bool startWithWindows);

} // namespace nestora::app
