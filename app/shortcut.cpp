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

} // namespace nestora::app
