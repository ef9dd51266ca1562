#pragma once
// Lays out a theme file from a list of entries: the 24-byte header, one 77-byte record per
// entry plus the terminator, then the data blocks, all in the order given. Readers take
// the first entry of a key, so the order of the list is the order of precedence.

#include "skin/menus/theme_file_format.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace nestora::themewriter {

// A fault in what the writer was asked to write; the message says what and where.
class ThemeWriterError : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ThemeWriterEntry {
    std::string key; // 8-bit characters, 1 to 64 of them, no zero byte
    nestora::skin::theme_format::EntryType type = nestora::skin::theme_format::EntryType::Integer;
    std::vector<std::uint8_t> data;
};

ThemeWriterEntry IntegerEntry(std::string key, std::int32_t value);
ThemeWriterEntry FlagEntry(std::string key, std::uint8_t value);
ThemeWriterEntry TextEntry(std::string key, std::string latin1Text);
ThemeWriterEntry BitmapEntry(std::string key, std::vector<std::uint8_t> bmpFile);

// The whole file. Throws ThemeWriterError for a key that a record cannot hold or a file
// that 32-bit offsets cannot address.
std::vector<std::uint8_t> BuildThemeFile(const std::vector<ThemeWriterEntry>& entries);

} // namespace nestora::themewriter
