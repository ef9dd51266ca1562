#include "theme_list.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <utility>

namespace nestora::themewriter {

namespace fmt = nestora::skin::theme_format;

namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

// Splits off the first blank-separated word of s.
std::string_view TakeWord(std::string_view& s) {
    s = Trim(s);
    const auto end = std::min(s.find_first_of(kBlanks), s.size());
    const std::string_view word = s.substr(0, end);
    s = Trim(s.substr(end));
    return word;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
}

std::string LowerKey(std::string_view key) {
    std::string out(key);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

std::optional<std::uint8_t> ParseFlag(std::string_view text) {
    if (text == "true")
        return 1;
    if (text == "false")
        return 0;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() || value > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

// UTF-8 to Latin-1; nothing when the text is not UTF-8 or holds a character past U+00FF.
std::optional<std::string> Utf8ToLatin1(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size() &&
                   (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            out += static_cast<char>(((c & 0x03) << 6) |
                                     (static_cast<unsigned char>(text[i + 1]) & 0x3F));
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

class ListReader {
public:
    ListReader(const std::string& listName, const std::filesystem::path& bitmapFolder)
        : listName_(listName), bitmapFolder_(bitmapFolder) {}

    void ReadLine(std::string_view line, int number) {
        line_ = number;
        std::string_view rest = Trim(line);
        if (rest.empty() || rest.front() == '#')
            return;
        const std::string_view key = TakeWord(rest);
        const std::string_view type = TakeWord(rest);
        CheckKey(key);
        if (type.empty())
            Fail("'" + std::string(key) + "' has no type (bitmap, int, color, flag or text)");

        if (type == "bitmap")
            entries_.push_back(BitmapEntry(std::string(key), ReadBitmap(rest)));
        else if (type == "int" || type == "color")
            entries_.push_back(IntegerEntry(std::string(key), ScalarInteger(key, type, rest)));
        else if (type == "flag")
            entries_.push_back(FlagEntry(std::string(key), ScalarFlag(key, rest)));
        else if (type == "text")
            entries_.push_back(TextEntry(std::string(key), Latin1Text(key, rest)));
        else
            Fail("unknown type '" + std::string(type) + "' (bitmap, int, color, flag or text)");
    }

    std::vector<ThemeWriterEntry> Take() { return std::move(entries_); }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw ThemeWriterError(listName_ + ":" + std::to_string(line_) + ": " + what);
    }

    void CheckKey(std::string_view key) {
        if (key.size() > fmt::kRecordKeySize) {
            Fail("the key '" + std::string(key) + "' is longer than " +
                 std::to_string(fmt::kRecordKeySize) + " characters");
        }
        for (char c : key) {
            if (c < 0x21 || c > 0x7E)
                Fail("the key '" + std::string(key) +
                     "' holds a character that is not "
                     "printable ASCII");
        }
        const auto [it, fresh] = seen_.try_emplace(LowerKey(key), line_);
        if (!fresh) {
            Fail("'" + std::string(key) + "' is already given on line " +
                 std::to_string(it->second) + "; readers would see only the first");
        }
    }

    // A single word, optionally followed by a '#' comment.
    std::string_view ScalarWord(std::string_view key, std::string_view rest) const {
        std::string_view word = TakeWord(rest);
        if (word.empty())
            Fail("'" + std::string(key) + "' has no value");
        if (!rest.empty() && rest.front() != '#')
            Fail("'" + std::string(key) + "' has more than one value: '" + std::string(rest) + "'");
        return word;
    }

    std::int32_t ScalarInteger(std::string_view key, std::string_view type,
                               std::string_view rest) const {
        const std::string_view word = ScalarWord(key, rest);
        const auto value = ParseThemeInteger(word);
        if (!value) {
            Fail("'" + std::string(word) + "' is not " +
                 (type == "color" ? "a colour ($00BBGGRR or decimal)"
                                  : "an integer (decimal or $hex, 32 bits)"));
        }
        return *value;
    }

    std::uint8_t ScalarFlag(std::string_view key, std::string_view rest) const {
        const std::string_view word = ScalarWord(key, rest);
        const auto value = ParseFlag(word);
        if (!value)
            Fail("'" + std::string(word) + "' is not a flag (true, false or 0 to 255)");
        return *value;
    }

    std::string Latin1Text(std::string_view key, std::string_view rest) const {
        auto text = Utf8ToLatin1(rest);
        if (!text) {
            Fail("the text of '" + std::string(key) +
                 "' is not UTF-8 within Latin-1, which is all a theme file can hold");
        }
        return std::move(*text);
    }

    std::vector<std::uint8_t> ReadBitmap(std::string_view name) const {
        if (name.empty())
            Fail("a bitmap entry needs the name of a .bmp file");
        const std::filesystem::path path = bitmapFolder_ / std::string(name);
        std::ifstream in(path, std::ios::binary);
        if (!in)
            Fail("cannot open the bitmap '" + path.string() + "'");
        std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
        if (in.bad())
            Fail("cannot read the bitmap '" + path.string() + "'");
        // Readers refuse a block that does not start like a BMP file; say so here first.
        if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M')
            Fail("'" + path.string() + "' is not a BMP file");
        return bytes;
    }

    const std::string& listName_;
    const std::filesystem::path& bitmapFolder_;
    int line_ = 0;
    std::vector<ThemeWriterEntry> entries_;
    std::map<std::string, int> seen_;
};

} // namespace

std::optional<std::int32_t> ParseThemeInteger(std::string_view text) {
    const char* end = text.data() + text.size();
    if (!text.empty() && text.front() == '$') {
        // Hex gives the 32 bits as they are: $FF000007 is a system colour.
        std::uint32_t bits = 0;
        const auto [stop, error] = std::from_chars(text.data() + 1, end, bits, 16);
        if (text.size() < 2 || text.size() > 9 || error != std::errc() || stop != end)
            return std::nullopt;
        return static_cast<std::int32_t>(bits);
    }
    std::int64_t value = 0;
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    // Decimal colours may be written unsigned: 4278190087 is $FF000007.
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::vector<ThemeWriterEntry> ReadThemeList(std::string_view text, const std::string& listName,
                                            const std::filesystem::path& bitmapFolder) {
    ListReader reader(listName, bitmapFolder);
    int number = 0;
    while (!text.empty()) {
        const auto end = std::min(text.find('\n'), text.size());
        reader.ReadLine(text.substr(0, end), ++number);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return reader.Take();
}

} // namespace nestora::themewriter
