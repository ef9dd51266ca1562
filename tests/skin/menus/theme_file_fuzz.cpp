// The parser's fuzz target: scripts/fuzz builds it with libFuzzer, and the corpus test runs
// every seed and every finding through it in the ordinary native build.
//
// Any input must either load, handing out only entries that lie inside it, or be refused
// with a ThemeFileError whose message names the file and a fault. Anything else (another
// exception, a crash, a read outside the buffer, a hang) is a finding.
#include "skin/menus/theme_file_parser.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

[[noreturn]] void Finding(const char* what) {
    std::fprintf(stderr, "theme file fuzz finding: %s\n", what);
    std::abort();
}

void ExerciseLoaded(const nestora::skin::ThemeFile& theme, std::size_t size) {
    std::uint64_t checksum = 0;
    for (const auto* list : {&theme.Bitmaps(), &theme.Integers(), &theme.Flags(), &theme.Texts()}) {
        for (const nestora::skin::ThemeEntry& entry : *list) {
            if (std::uint64_t{entry.dataAt} + entry.dataSize > size ||
                std::uint64_t{entry.keyAt} + entry.keyLength > size || entry.keyLength > 64)
                Finding("an entry lies outside the file");
            // Every byte handed out is read, so AddressSanitizer sees any stray span.
            for (std::uint8_t b : theme.Data(entry))
                checksum += b;
            const std::wstring key = theme.Key(entry);
            checksum += key.size();
        }
    }
    // Lookups by each list's first key, as stored and in upper case, must find something.
    if (!theme.Integers().empty()) {
        std::wstring key = theme.Key(theme.Integers().front());
        if (!theme.FindInteger(key))
            Finding("an integer's own key does not find it");
        for (wchar_t& c : key)
            c = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 0x20) : c;
        if (!theme.FindInteger(key))
            Finding("an integer's key in upper case does not find it");
        checksum += static_cast<std::uint32_t>(theme.Color(key));
    }
    if (!theme.Flags().empty() && !theme.FindFlag(theme.Key(theme.Flags().front())))
        Finding("a flag's own key does not find it");
    if (!theme.Bitmaps().empty()) {
        const auto bitmap = theme.Bitmap(theme.Key(theme.Bitmaps().front()));
        if (!bitmap || bitmap->size() < 2 || (*bitmap)[0] != 'B' || (*bitmap)[1] != 'M')
            Finding("a bitmap was loaded that does not start like a BMP");
    }
    if (!theme.Texts().empty() && !theme.Text(theme.Key(theme.Texts().front())))
        Finding("a text's own key does not find it");
    // Keeps the reads above from being optimised away.
    if (checksum == 0xFFFFFFFFFFFFFFFFull)
        std::fprintf(stderr, "%llu\n", static_cast<unsigned long long>(checksum));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::wstring kPrefix = L"Theme file 'fuzz.theme' is damaged: ";
    try {
        const nestora::skin::ThemeFile theme =
            nestora::skin::ParseThemeFile(std::span<const std::uint8_t>(data, size), L"fuzz.theme");
        ExerciseLoaded(theme, size);
    } catch (const nestora::skin::ThemeFileError& e) {
        if (e.Message().rfind(kPrefix, 0) != 0 || e.Message().size() <= kPrefix.size())
            Finding("a refusal without the file's name or the fault");
    }
    return 0;
}
