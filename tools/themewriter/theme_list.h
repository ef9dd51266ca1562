#pragma once
// The theme writer's input: a list of entries, one a line, as
//
//     key type value
//
// with type one of bitmap, int, color, flag, text:
//   bitmap  the name of a .bmp file in the bitmap folder (the rest of the line)
//   int     a decimal number (-2147483648 to 2147483647) or $ and up to 8 hex digits
//   color   $00BBGGRR (red in the low byte; $FF...... for a system colour) or decimal
//   flag    true, false, or a decimal byte 0 to 255
//   text    the rest of the line, UTF-8, every character within Latin-1
// Blank lines and lines starting with '#' are skipped; after an int, color or flag value a
// '#' starts a comment. Keys are 1 to 64 printable ASCII characters, and a key may appear
// only once (letter case aside): readers would see only the first of two.

#include "theme_writer.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nestora::themewriter {

// Reads the list; bitmap values are read from bitmapFolder. Throws ThemeWriterError with
// "<listName>:<line>: <fault>" for the first fault found.
std::vector<ThemeWriterEntry> ReadThemeList(std::string_view text, const std::string& listName,
                                            const std::filesystem::path& bitmapFolder);

// Number forms shared by int and color; nothing when the text is no such number.
std::optional<std::int32_t> ParseThemeInteger(std::string_view text);

} // namespace nestora::themewriter
