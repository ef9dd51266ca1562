#pragma once
// A parsed theme file: the file's bytes, read once, and four lists of entries (bitmaps,
// integers, flags, texts) in chain order that point into them. Lookups are by key name,
// without regard to letter case, and the first entry in chain order wins.
//
// Entries are kept as offsets into the one buffer, not as copies: a damaged or hostile
// file may point thousands of records at the same large block, and its cost in memory
// must stay the size of the file. Every offset here was checked by the parser, so the
// spans handed out always lie inside the buffer.
//
// Made only by ParseThemeFile (theme_file_parser.h); immutable afterwards, cheap to move.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nestora::skin {

class ThemeFile;
ThemeFile ParseThemeFile(std::vector<std::uint8_t> bytes, std::wstring_view fileName);

// One entry as the parser found it; the key and data are ranges of the file's bytes.
struct ThemeEntry {
    std::uint32_t keyAt = 0;
    std::uint32_t keyLength = 0; // 0..64
    std::uint32_t dataAt = 0;
    std::uint32_t dataSize = 0;
};

class ThemeFile {
public:
    // The bytes of the BMP file stored under the key, or nothing.
    std::optional<std::span<const std::uint8_t>> Bitmap(std::wstring_view key) const;
    std::optional<std::int32_t> FindInteger(std::wstring_view key) const;
    // -1 when the file has no integer under the key.
    std::int32_t Integer(std::wstring_view key) const;
    // Colours are integer entries holding $00BBGGRR values; -1 when missing.
    std::int32_t Color(std::wstring_view key) const { return Integer(key); }
    std::optional<std::uint8_t> FindFlag(std::wstring_view key) const;
    // Any non-zero byte is true; false when missing.
    bool Flag(std::wstring_view key) const;
    std::optional<std::wstring> Text(std::wstring_view key) const;

    const std::vector<ThemeEntry>& Bitmaps() const noexcept { return bitmaps_; }
    const std::vector<ThemeEntry>& Integers() const noexcept { return integers_; }
    const std::vector<ThemeEntry>& Flags() const noexcept { return flags_; }
    const std::vector<ThemeEntry>& Texts() const noexcept { return texts_; }
    // Key names are 8-bit characters, read as Latin-1.
    std::wstring Key(const ThemeEntry& entry) const;
    std::span<const std::uint8_t> KeyBytes(const ThemeEntry& entry) const {
        return {bytes_.data() + entry.keyAt, entry.keyLength};
    }
    std::span<const std::uint8_t> Data(const ThemeEntry& entry) const;

    const std::wstring& FileName() const noexcept { return fileName_; }
    std::size_t FileSize() const noexcept { return bytes_.size(); }

private:
    friend ThemeFile ParseThemeFile(std::vector<std::uint8_t> bytes, std::wstring_view fileName);
    ThemeFile(std::vector<std::uint8_t> bytes, std::wstring fileName)
        : bytes_(std::move(bytes)), fileName_(std::move(fileName)) {}

    const ThemeEntry* Find(const std::vector<ThemeEntry>& list, std::wstring_view key) const;

    std::vector<std::uint8_t> bytes_;
    std::wstring fileName_;
    std::vector<ThemeEntry> bitmaps_;
    std::vector<ThemeEntry> integers_;
    std::vector<ThemeEntry> flags_;
    std::vector<ThemeEntry> texts_;
};

// Decodes 8-bit Latin-1 characters into a wide string, one character each.
std::wstring Latin1ToWide(std::span<const std::uint8_t> bytes);

// Latin-1 letters compare without regard to case (A-Z and the accented capitals); any
// other character only matches itself.
bool KeyEqualsIgnoringCase(std::span<const std::uint8_t> latin1Key, std::wstring_view key);

} // namespace nestora::skin
