#include "skin/menus/theme_file.h"

#include <type_traits>
#include <utility>

namespace nestora::skin {

namespace {

// Lower-case form of a Latin-1 character; leaves everything else as it is.
char32_t FoldCase(char32_t c) {
    if (c >= U'A' && c <= U'Z')
        return c + 0x20;
    // U+00C0..U+00DE are the capitals of U+00E0..U+00FE, except U+00D7 (multiplication).
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    return c;
}

char32_t WideValue(wchar_t c) {
    return static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
}

} // namespace

std::wstring Latin1ToWide(std::span<const std::uint8_t> bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (std::uint8_t b : bytes)
        out += static_cast<wchar_t>(b);
    return out;
}

bool KeyEqualsIgnoringCase(std::span<const std::uint8_t> latin1Key, std::wstring_view key) {
    if (latin1Key.size() != key.size())
        return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (FoldCase(latin1Key[i]) != FoldCase(WideValue(key[i])))
            return false;
    }
    return true;
}

const ThemeEntry* ThemeFile::Find(const std::vector<ThemeEntry>& list,
                                  std::wstring_view key) const {
    // Linear, as the lists are short; the first entry in chain order wins.
    for (const ThemeEntry& entry : list) {
        const std::span<const std::uint8_t> name(bytes_.data() + entry.keyAt, entry.keyLength);
        if (KeyEqualsIgnoringCase(name, key))
            return &entry;
    }
    return nullptr;
}

std::wstring ThemeFile::Key(const ThemeEntry& entry) const {
    return Latin1ToWide({bytes_.data() + entry.keyAt, entry.keyLength});
}

std::span<const std::uint8_t> ThemeFile::Data(const ThemeEntry& entry) const {
    return {bytes_.data() + entry.dataAt, entry.dataSize};
}

std::optional<std::span<const std::uint8_t>> ThemeFile::Bitmap(std::wstring_view key) const {
    if (const ThemeEntry* entry = Find(bitmaps_, key))
        return Data(*entry);
    return std::nullopt;
}

std::optional<std::int32_t> ThemeFile::FindInteger(std::wstring_view key) const {
    const ThemeEntry* entry = Find(integers_, key);
    if (!entry)
        return std::nullopt;
    const auto data = Data(*entry); // four bytes: the parser refuses any other size
    const std::uint32_t bits = std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                               std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24;
    return static_cast<std::int32_t>(bits);
}

std::int32_t ThemeFile::Integer(std::wstring_view key) const {
    return FindInteger(key).value_or(-1);
}

std::optional<std::uint8_t> ThemeFile::FindFlag(std::wstring_view key) const {
    if (const ThemeEntry* entry = Find(flags_, key))
        return Data(*entry)[0]; // one byte: the parser refuses any other size
    return std::nullopt;
}

bool ThemeFile::Flag(std::wstring_view key) const {
    return FindFlag(key).value_or(0) != 0;
}

std::optional<std::wstring> ThemeFile::Text(std::wstring_view key) const {
    if (const ThemeEntry* entry = Find(texts_, key))
        return Latin1ToWide(Data(*entry));
    return std::nullopt;
}

} // namespace nestora::skin
