#include "app/settings_values.h"

namespace nestora::app {

Language languageFromSetting(std::wstring_view lang) {
    return lang == L"En" ? Language::english : Language::russian;
}

std::wstring_view languageSettingText(Language language) {
    return language == Language::english ? L"En" : L"Ru";
}

bool startUpFromSetting(std::uint32_t value) {
    return value != 0;
}

std::uint32_t startUpSettingValue(bool startWithWindows) {
    return startWithWindows ? 1 : 0;
}

} // namespace nestora::app
