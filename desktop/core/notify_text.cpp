#include "desktop/core/notify_text.h"

namespace nestora::desktop {

namespace {

bool IsHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Appends the UTF-16 form of one wide character unless that would pass maxUnits; returns
// false when it did not fit.
bool AppendUnits(std::u16string& out, char32_t c, std::size_t maxUnits) {
    if (c > 0x10FFFF)
        c = 0xFFFD;
    if (c >= 0x10000) {
        if (out.size() + 2 > maxUnits)
            return false;
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        return true;
    }
    if (out.size() + 1 > maxUnits)
        return false;
    out.push_back(static_cast<char16_t>(c));
    return true;
}

} // namespace

std::u16string CutToUtf16(std::wstring_view text, std::size_t maxUnits) {
    std::u16string out;
    out.reserve(text.size() < maxUnits ? text.size() : maxUnits);
    if constexpr (sizeof(wchar_t) == 2) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto u = static_cast<char16_t>(text[i]);
            if (IsHighSurrogate(u) && i + 1 < text.size() &&
                IsLowSurrogate(static_cast<char16_t>(text[i + 1]))) {
                if (out.size() + 2 > maxUnits)
                    break;
                out.push_back(u);
                out.push_back(static_cast<char16_t>(text[++i]));
                continue;
            }
            if (out.size() + 1 > maxUnits)
                break;
            out.push_back(u);
        }
    } else {
        for (const wchar_t c : text)
            if (!AppendUnits(out, static_cast<char32_t>(c), maxUnits))
                break;
    }
    return out;
}

std::size_t Utf16Length(std::wstring_view text) {
    if constexpr (sizeof(wchar_t) == 2) {
        return text.size();
    } else {
        std::size_t n = 0;
        for (const wchar_t c : text) {
            const auto cp = static_cast<char32_t>(c);
            n += (cp >= 0x10000 && cp <= 0x10FFFF) ? 2 : 1;
        }
        return n;
    }
}

} // namespace nestora::desktop
