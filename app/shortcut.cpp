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

// Removes a leading modifier word and reports the flag it stands for, or 0.
ShortcutWord TakeModifier(std::wstring_view& text) {
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
        if (StartsWithIgnoreCase(text, prefix.text)) {
            text.remove_prefix(prefix.text.size());
            return prefix.flag;
        }
    }
    return 0;
}

} // namespace

SplitShortcut SplitShortcutWord(ShortcutWord word) {
    SplitShortcut split;
    split.key = word & static_cast<ShortcutWord>(~kShortcutFlags);
    split.shift = (word & kShiftFlag) != 0;
    split.ctrl = (word & kCtrlFlag) != 0;
    split.alt = (word & kAltFlag) != 0;
    return split;
}

std::wstring KeyName(unsigned code, const KeyNameSource& layoutNames) {
    const unsigned k = code & 0xFF;
    std::wstring name = gui::FixedKeyName(k);
    if (name.empty() && layoutNames)
        name = layoutNames(k);
    return name;
}

std::wstring ShortcutToText(ShortcutWord word, const KeyNameSource& layoutNames) {
    return gui::ShortCutToText(word, layoutNames);
}

ShortcutWord ShortcutFromText(std::wstring_view text, const KeyNameSource& layoutNames) {
    ShortcutWord flags = 0;
    while (const ShortcutWord flag = TakeModifier(text))
        flags |= flag;
    if (text.empty())
        return 0;

    // Each low byte is named once: the layout is asked at most 256 times per parse.
    std::array<std::optional<std::wstring>, 256> names;
    for (unsigned code = kFirstParsedCode; code <= kLastParsedCode; ++code) {
        auto& name = names[code & 0xFF];
        if (!name)
            name = KeyName(code, layoutNames);
        if (!name->empty() && EqualsIgnoreCase(*name, text))
            return static_cast<ShortcutWord>((code & 0xFF) | flags);
    }
    return 0;
}

std::wstring EnglishKeyName(unsigned virtualKey) {
    struct Name {
        unsigned key;
        const wchar_t* name;
    };
    static constexpr std::array<Name, 18> names = {{
        {0x13, L"Pause"},
        {0x14, L"Caps Lock"},
        {0x6A, L"Num *"},
        {0x6B, L"Num +"},
        {0x6D, L"Num -"},
        {0x90, L"Num Lock"},
        {0x91, L"Scroll Lock"},
        {0xBA, L";"},
        {0xBB, L"="},
        {0xBC, L","},
        {0xBD, L"-"},
        {0xBE, L"."},
        {0xBF, L"/"},
        {0xC0, L"`"},
        {0xDB, L"["},
        {0xDC, L"\\"},
        {0xDD, L"]"},
        {0xDE, L"'"},
    }};
    for (const auto& entry : names) {
        if (entry.key == (virtualKey & 0xFF))
            return entry.name;
    }
    return {};
}

ShortcutWord ShortcutFromAnyLayout(std::wstring_view text, const KeyNameSource& activeLayout,
                                   const std::vector<KeyNameSource>& installedLayouts) {
    if (const ShortcutWord word = ShortcutFromText(text, activeLayout))
        return word;
    for (const auto& layout : installedLayouts) {
        if (const ShortcutWord word = ShortcutFromText(text, layout))
            return word;
    }
    return ShortcutFromText(text, [](unsigned key) { return EnglishKeyName(key); });
}

} // namespace nestora::app
