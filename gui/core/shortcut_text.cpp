#include "gui/core/shortcut_text.h"

#include "gui/core/text.h"

#include <cwctype>

namespace nestora::gui {

namespace {

bool SameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towupper(static_cast<std::wint_t>(a[i])) !=
            std::towupper(static_cast<std::wint_t>(b[i])))
            return false;
    return true;
}

bool StartsWithText(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

std::wstring KeyName(unsigned key, const KeyNameSource& names) {
    std::wstring name = FixedKeyName(key);
    if (name.empty() && names && key != 0)
        name = names(key);
    return name;
}

} // namespace

std::wstring FixedKeyName(unsigned key) {
    static constexpr const wchar_t* kNavigation[] = {L"Space", L"PgUp", L"PgDn",  L"End", L"Home",
                                                     L"Left",  L"Up",   L"Right", L"Down"};
    switch (key) {
    case 0x08:
        return L"BkSp";
    case 0x09:
        return L"Tab";
    case 0x0D:
        return L"Enter";
    case 0x1B:
        return L"Esc";
    case 0x2D:
        return L"Ins";
    case 0x2E:
        return L"Del";
    default:
        break;
    }
    if (key >= 0x20 && key <= 0x28)
        return kNavigation[key - 0x20];
    if ((key >= 0x30 && key <= 0x39) || (key >= 0x41 && key <= 0x5A))
        return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= 0x60 && key <= 0x69)
        return std::wstring(1, static_cast<wchar_t>(L'0' + (key - 0x60)));
    if (key >= 0x70 && key <= 0x87)
        return L"F" + IntToStr(key - 0x70 + 1);
    return {};
}

std::wstring ShortCutToText(std::uint16_t shortCut, const KeyNameSource& names) {
    const std::wstring name = KeyName(shortCut & 0xFFu, names);
    if (name.empty())
        return {};
    std::wstring text;
    if (shortCut & scShift)
        text += L"Shift+";
    if (shortCut & scCtrl)
        text += L"Ctrl+";
    if (shortCut & scAlt)
        text += L"Alt+";
    return text + name;
}

std::uint16_t TextToShortCut(std::wstring_view text, const KeyNameSource& names) {
    struct Modifier {
        std::wstring_view prefix;
        std::uint16_t bit;
    };
    static constexpr Modifier kModifiers[] = {
        {L"Shift+", scShift}, {L"Ctrl+", scCtrl}, {L"Alt+", scAlt}};
    std::uint16_t modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const Modifier& m : kModifiers) {
            // "+" alone after the modifiers is a key (the layout may call it that).
            if (text.size() > m.prefix.size() && StartsWithText(text, m.prefix)) {
                modifiers |= m.bit;
                text.remove_prefix(m.prefix.size());
                found = true;
            }
        }
    }
    if (text.empty())
        return 0;
    for (unsigned key = 1; key <= 0xFF; ++key) {
        const std::wstring name = KeyName(key, names);
        if (!name.empty() && SameText(name, text))
            return static_cast<std::uint16_t>(modifiers | key);
    }
    return 0;
}

} // namespace nestora::gui
