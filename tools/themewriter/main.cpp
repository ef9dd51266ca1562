// themewriter: makes a theme file from a list of entries and a folder of BMP files.
//
// Usage: themewriter <list file> <bitmap folder> <out.theme>
//
// The list's form is described in theme_list.h. The output appears whole or not at all:
// it is written beside the target and renamed into place, so a failed run never leaves a
// half-written theme where a good one was.

#include "theme_list.h"
#include "theme_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw nestora::themewriter::ThemeWriterError("cannot open the list '" + path.string() + "'");
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw nestora::themewriter::ThemeWriterError("cannot read the list '" + path.string() + "'");
    return text;
}

void WriteWhole(const fs::path& target, const std::vector<std::uint8_t>& bytes) {
    fs::path temporary = target;
    temporary += ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw nestora::themewriter::ThemeWriterError("cannot write '" + temporary.string() + "'");
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        throw nestora::themewriter::ThemeWriterError("cannot put the theme in place as '" + target.string() +
                                            "'");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: themewriter <list file> <bitmap folder> <out.theme>\n";
        return kUsage;
    }
    const fs::path list = argv[1], bitmaps = argv[2], target = argv[3];
    try {
        const auto entries = nestora::themewriter::ReadThemeList(ReadText(list), list.string(), bitmaps);
        const auto bytes = nestora::themewriter::BuildThemeFile(entries);
        WriteWhole(target, bytes);
        std::cout << target.string() << ": " << entries.size() << " entries, " << bytes.size()
                  << " bytes\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "themewriter: " << e.what() << "\n";
        return kFailed;
    }
}
