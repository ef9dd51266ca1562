#include "app/settings_values.h"

namespace nestora::app {

Language LanguageFromSetting(std::wstring_view lang) {
    return lang == L"En" ? Language::english : Language::russian;
}

std::wstring_view LanguageSettingText(Language language) {
    return language == Language::english ? L"En" : L"Ru";
}

bool StartUpFromSetting(std::uint32_t value) {
    return value != 0;
}

std::uint32_t StartUpSettingValue(bool startWithWindows) {
    return startWithWindows ? 1 : 0;
}

} // namespace nestora::app
