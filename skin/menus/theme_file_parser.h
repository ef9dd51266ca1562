#pragma once
// The theme file reader's parser. A theme file may come from anyone, so this is the one
// place that must be safe with any bytes: it works on a buffer already in memory, reads
// nothing outside it, does work bounded by its size, and either returns a whole ThemeFile
// or throws ThemeFileError naming the file and the fault. It never changes a theme already
// loaded: callers swap the result in only when parsing succeeded.
//
// Refused as damaged: an empty file; one shorter than its header; a header length other
// than 24; a record that lies beyond or runs past the end; a chain that returns to a
// record already read, or holds more records than the file has room for; an entry of a
// known type whose data runs past the end; an integer that is not 4 bytes or a flag that
// is not 1; a bitmap that does not start like a BMP file. Refused as out of bounds
// (theme_value_ranges.h): an integer outside its key's range, a colour that is neither RGB
// nor a system colour, a picture whose header gives a side over 4096 pixels, or pictures
// with more pixels together than a theme may hold. Every entry is checked, not only the
// first of each key. Entries of unknown types are skipped unread, as is the terminator's
// own entry.

#include "skin/menus/theme_file.h"
#include "skin/menus/theme_file_error.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace nestora::skin {

// Takes the bytes over (no copy); fileName is used in error messages and kept.
ThemeFile ParseThemeFile(std::vector<std::uint8_t> bytes, std::wstring_view fileName);

inline ThemeFile ParseThemeFile(std::span<const std::uint8_t> bytes, std::wstring_view fileName) {
    return ParseThemeFile(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), fileName);
}

} // namespace nestora::skin
