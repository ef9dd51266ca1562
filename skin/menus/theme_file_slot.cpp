#include "skin/menus/theme_file_slot.h"

#include "skin/menus/theme_file_loader.h"
#include "skin/menus/theme_file_parser.h"

#include <utility>

namespace nestora::skin {

void ThemeFileSlot::Load(std::vector<std::uint8_t> bytes, std::wstring_view fileName) {
    Take(ParseThemeFile(std::move(bytes), fileName));
}

void ThemeFileSlot::LoadFile(const std::filesystem::path& path) {
    Take(LoadThemeFile(path));
}

std::optional<std::span<const std::uint8_t>> ThemeFileSlot::Bitmap(std::wstring_view key) const {
    if (!theme_)
        return std::nullopt;
    return theme_->Bitmap(key);
}

std::int32_t ThemeFileSlot::Color(std::wstring_view key) const {
    return theme_ ? theme_->Color(key) : 0;
}

std::int32_t ThemeFileSlot::Integer(std::wstring_view key) const {
    return theme_ ? theme_->Integer(key) : 0;
}

bool ThemeFileSlot::Flag(std::wstring_view key) const {
    return theme_ && theme_->Flag(key);
}

} // namespace nestora::skin
