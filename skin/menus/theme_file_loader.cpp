#include "skin/menus/theme_file_loader.h"

#include "skin/menus/theme_file_error.h"
#include "skin/menus/theme_file_parser.h"

#include <fstream>
#include <string>
#include <system_error>

namespace nestora::skin {

namespace {

[[noreturn]] void Unreadable(const std::filesystem::path& path, const std::wstring& why) {
    throw ThemeFileError(ThemeFileFault::Unreadable,
                         L"Theme file '" + path.wstring() + L"' cannot be read: " + why);
}

} // namespace

std::vector<std::uint8_t> ReadThemeFileBytes(const std::filesystem::path& path,
                                             std::uintmax_t maxSize) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Unreadable(path, L"it cannot be opened");
    // The size comes from the open stream, not from a second look at the path, so a file
    // replaced in between cannot make the two disagree.
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    if (!in || end < 0)
        Unreadable(path, L"its size cannot be found");
    const auto size = static_cast<std::uintmax_t>(end);
    if (size > maxSize) {
        throw ThemeFileError(ThemeFileFault::TooLarge,
                             L"Theme file '" + path.wstring() + L"' is too large: " +
                                 std::to_wstring(size) + L" bytes, more than the " +
                                 std::to_wstring(maxSize) + L" a theme may have");
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0, std::ios::beg);
    if (size > 0) {
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
        // A file that shrank meanwhile is read as it was found short: the parser then
        // judges the bytes that are there, which is all a later read could give.
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        if (in.bad())
            Unreadable(path, L"reading it failed");
    }
    return bytes;
}

ThemeFile LoadThemeFile(const std::filesystem::path& path, std::uintmax_t maxSize) {
    return ParseThemeFile(ReadThemeFileBytes(path, maxSize), path.wstring());
}

} // namespace nestora::skin
