#pragma once
// Reads a theme file into memory in one go and parses it. The Windows side opens files
// with its own sharing rules and feeds ParseThemeFile directly; this is the portable way
// in, for the tools, the tests and any host-side use.

#include "skin/menus/theme_file.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace nestora::skin {

// No theme has reason to be this big (the largest built-in look's pictures take well under
// a megabyte); a bigger file is refused before anything is allocated for it.
inline constexpr std::uintmax_t kMaxThemeFileSize = 64u * 1024 * 1024;

// The whole file's bytes; throws ThemeFileError (Unreadable, TooLarge) when it cannot be
// read or is larger than maxSize.
std::vector<std::uint8_t> ReadThemeFileBytes(const std::filesystem::path& path,
                                             std::uintmax_t maxSize = kMaxThemeFileSize);

// ReadThemeFileBytes, then ParseThemeFile with the path as the file's name in messages.
ThemeFile LoadThemeFile(const std::filesystem::path& path,
                        std::uintmax_t maxSize = kMaxThemeFileSize);

} // namespace nestora::skin
