#include "skin/menus/theme_file_error.h"

#include "gui/core/text.h"

#include <type_traits>
#include <utility>

namespace nestora::skin {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

std::string ThemeWideToUtf8(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        // Through an unsigned type: a 32-bit wchar_t is signed on some platforms.
        char32_t c = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(wide[i]));
        if (IsHighSurrogate(c) && i + 1 < wide.size()) {
            const auto low =
                static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(wide[i + 1]));
            if (IsLowSurrogate(low)) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
                AppendUtf8(out, c);
                continue;
            }
        }
        if (IsHighSurrogate(c) || IsLowSurrogate(c) || c > 0x10FFFF)
            c = kReplacement;
        AppendUtf8(out, c);
    }
    return out;
}

std::wstring PrintableThemeKey(std::wstring_view key) {
    std::wstring out(key);
    for (wchar_t& c : out) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            c = L'?';
    }
    return out;
}

ThemeFileError::ThemeFileError(ThemeFileFault fault, std::wstring message)
    : fault_(fault), message_(std::move(message)), narrow_(ThemeWideToUtf8(message_)) {}

ThemeFileError UnreadableThemeFile(std::wstring_view fileName, std::wstring_view why) {
    return ThemeFileError(ThemeFileFault::Unreadable, L"Theme file '" + std::wstring(fileName) +
                                                          L"' cannot be read: " +
                                                          std::wstring(why));
}

ThemeFileError ThemeFileTooLarge(std::wstring_view fileName, std::uintmax_t size,
                                 std::uintmax_t maxSize) {
    return ThemeFileError(ThemeFileFault::TooLarge,
                          L"Theme file '" + std::wstring(fileName) + L"' is too large: " +
                              gui::IntToStr(size) + L" bytes, more than the " +
                              gui::IntToStr(maxSize) + L" a theme may have");
}

} // namespace nestora::skin
