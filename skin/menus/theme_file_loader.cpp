#include "skin/menus/theme_file_loader.h"

#include "skin/menus/theme_file_error.h"
#include "skin/menus/theme_file_parser.h"

#include <cstdio>
#include <memory>
#include <string>

namespace nestora::skin {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Through the C runtime rather than a file stream: the streams would bring the standard
// library's whole locale machinery into every program that can read a theme.
UniqueFile OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
    return UniqueFile(::_wfopen(path.c_str(), L"rb"));
#else
    return UniqueFile(std::fopen(path.c_str(), "rb"));
#endif
}

// The size of what is open, from the open file itself: a file replaced in between cannot
// make the size and the bytes disagree. -1 when it cannot be found.
long long SizeOf(std::FILE* file) {
#ifdef _WIN32
    if (::_fseeki64(file, 0, SEEK_END) != 0)
        return -1;
    const long long end = ::_ftelli64(file);
    return ::_fseeki64(file, 0, SEEK_SET) == 0 ? end : -1;
#else
    if (::fseeko(file, 0, SEEK_END) != 0)
        return -1;
    const long long end = ::ftello(file);
    return ::fseeko(file, 0, SEEK_SET) == 0 ? end : -1;
#endif
}

} // namespace

std::vector<std::uint8_t> ReadThemeFileBytes(const std::filesystem::path& path,
                                             std::uintmax_t maxSize) {
    const UniqueFile file = OpenForReading(path);
    if (!file)
        throw UnreadableThemeFile(path.wstring(), L"it cannot be opened");
    const long long end = SizeOf(file.get());
    if (end < 0)
        throw UnreadableThemeFile(path.wstring(), L"its size cannot be found");
    const auto size = static_cast<std::uintmax_t>(end);
    if (size > maxSize)
        throw ThemeFileTooLarge(path.wstring(), size, maxSize);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0) {
        // A file that shrank meanwhile is read as it was found short: the parser then
        // judges the bytes that are there, which is all a later read could give.
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
        if (std::ferror(file.get()))
            throw UnreadableThemeFile(path.wstring(), L"reading it failed");
    }
    return bytes;
}

ThemeFile LoadThemeFile(const std::filesystem::path& path, std::uintmax_t maxSize) {
    return ParseThemeFile(ReadThemeFileBytes(path, maxSize), path.wstring());
}

} // namespace nestora::skin
