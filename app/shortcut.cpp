#include "app/shortcut.h"

#include "app/text_case.h"

#include <array>
#include <optional>

namespace nestora::app {

namespace {

// Codes tried when reading a key name back, in this order. Past $FF the names repeat
// (a key is named by its low byte), so only the codes whose low byte is below 8 can match
// anything new there: keys such as VK_CANCEL (3, what Ctrl+Break gives) that the layout
// names. The key read back is that low byte, the virtual key that was named; the code
// itself ($103) is no key RegisterHotKey accepts, and the hotkey would be lost at the
// next start.
constexpr unsigned kFirstParsedCode = 0x08;
constexpr unsigned kLastParsedCode = 0x255;

std::wstring fixedKeyName(unsigned k) {
    switch (k) {
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
    if (k >= 0x20 && k <= 0x28) {
        static constexpr std::array<const wchar_t*, 9> navigation = {
            L"Space", L"PgUp", L"PgDn", L"End", L"Home", L"Left", L"Up", L"Right", L"Down"};
        return navigation[k - 0x20];
    }
    if ((k >= 0x30 && k <= 0x39) || (k >= 0x41 && k <= 0x5A))
        return std::wstring(1, static_cast<wchar_t>(k));
    if (k >= 0x60 && k <= 0x69)
        return std::wstring(1, static_cast<wchar_t>(L'0' + (k - 0x60)));
    if (k >= 0x70 && k <= 0x87)
        return L"F" + std::to_wstring(k - 0x70 + 1);
    return {};
}

bool isFixedKey(unsigned k) {
    return !fixedKeyName(k).empty();
}

// Removes a leading modifier word and reports the flag it stands for, or 0.
ShortcutWord takeModifier(std::wstring_view& text) {
    struct Prefix {
        std::wstring_view text;
        ShortcutWord flag;
    };
    static constexpr std::array<Prefix, 4> prefixes = {{
        {L"Shift+", kShiftFlag},
        {L"^", kCtrlFlag},
        {L"Ctrl+", kCtrlFlag},
        {L"Alt+", kAltFlag},
    }};
    for (const auto& prefix : prefixes) {
        if (startsWithIgnoreCase(text, prefix.text)) {
            text.remove_prefix(prefix.text.size());
            return prefix.flag;
        }
    }
    return 0;
}

} // namespace

SplitShortcut splitShortcut(ShortcutWord word) {
    SplitShortcut split;
    split.key = word & static_cast<ShortcutWord>(~kShortcutFlags);
    split.shift = (word & kShiftFlag) != 0;
    split.ctrl = (word & kCtrlFlag) != 0;
    split.alt = (word & kAltFlag) != 0;
    return split;
}

std::wstring keyName(unsigned code, const KeyNameSource& layoutNames) {
    const unsigned k = code & 0xFF;
    if (isFixedKey(k))
        return fixedKeyName(k);
    return layoutNames ? layoutNames(k) : std::wstring();
}

std::wstring shortcutToText(ShortcutWord word, const KeyNameSource& layoutNames) {
    std::wstring name = keyName(word, layoutNames);
    if (name.empty())
        return {};
    std::wstring text;
    if (word & kShiftFlag)
        text += L"Shift+";
    if (word & kCtrlFlag)
        text += L"Ctrl+";
    if (word & kAltFlag)
        text += L"Alt+";
    return text + name;
}

ShortcutWord shortcutFromText(std::wstring_view text, const KeyNameSource& layoutNames) {
    ShortcutWord flags = 0;
    while (const ShortcutWord flag = takeModifier(text))
        flags |= flag;
    if (text.empty())
        return 0;

    // Each low byte is named once: the layout is asked at most 256 times per parse.
    std::array<std::optional<std::wstring>, 256> names;
    for (unsigned code = kFirstParsedCode; code <= kLastParsedCode; ++code) {
        auto& name = names[code & 0xFF];
        if (!name)
            name = keyName(code, layoutNames);
        if (!name->empty() && equalsIgnoreCase(*name, text))
            return static_cast<ShortcutWord>((code & 0xFF) | flags);
    }
    return 0;
}

} // namespace nestora::app
