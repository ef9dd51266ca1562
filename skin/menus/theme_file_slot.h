#pragma once
// The theme a file-theme component holds: nothing until a file loads, then the last file
// that loaded whole. A load that fails throws and leaves the theme in force as it was, so
// a damaged file never takes a working look away; the new file is parsed completely
// before anything is swapped.
//
// The lookups answer as skinned components expect them: with no theme loaded, colours and
// integers are 0 and flags false; with a theme, a missing key gives -1 (colour, integer)
// or false (flag), and a missing bitmap gives nothing.

#include "skin/menus/theme_file.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace nestora::skin {

class ThemeFileSlot {
public:
    bool Loaded() const noexcept { return theme_.has_value(); }
    const ThemeFile* Current() const noexcept { return theme_ ? &*theme_ : nullptr; }

    // Throw ThemeFileError on failure; the current theme then stays as it was.
    void Load(std::vector<std::uint8_t> bytes, std::wstring_view fileName);
    void LoadFile(const std::filesystem::path& path);
    void Clear() noexcept { theme_.reset(); }

    std::optional<std::span<const std::uint8_t>> Bitmap(std::wstring_view key) const;
    std::int32_t Color(std::wstring_view key) const;
    std::int32_t Integer(std::wstring_view key) const;
    bool Flag(std::wstring_view key) const;

private:
    void Take(ThemeFile&& loaded) noexcept { theme_.emplace(std::move(loaded)); }

    std::optional<ThemeFile> theme_;
};

} // namespace nestora::skin
