#pragma once
// Theme files built byte by byte for the tests, the seed corpus and the fuzzer: a builder
// that writes the layout by hand (independently of the theme writer tool, so a layout
// mistake shared by the two cannot hide), and the named cases, good and damaged.

#include "skin/menus/theme_file_error.h"

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace nestora::theme_test {

// Type codes as stored in a record.
inline constexpr std::uint8_t kBitmap = 0, kInteger = 1, kFlag = 2, kText = 3;

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

// A file under construction: a 24-byte header (length 24, first record at 0 until set),
// then whatever is appended, at the offsets the Append calls return.
class RawTheme {
public:
    RawTheme();
    std::uint32_t Append(std::span<const std::uint8_t> data);
    std::uint32_t AppendText(const std::string& text);
    std::uint32_t AppendU32(std::uint32_t value);
    std::uint32_t AppendRecord(const std::string& key, std::uint8_t type, std::uint32_t dataAt,
                               std::uint32_t dataSize, std::uint32_t next);
    // Where the next Append will put its bytes.
    std::uint32_t End() const { return static_cast<std::uint32_t>(bytes_.size()); }
    void SetFirstRecord(std::uint32_t at) { PutU32(bytes_, 20, at); }
    void SetHeaderLength(std::uint32_t length) { PutU32(bytes_, 12, length); }
    std::vector<std::uint8_t>& Bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

// One entry of a well-formed chain.
struct RawEntry {
    std::string key;
    std::uint8_t type;
    std::vector<std::uint8_t> data;
};

// The data blocks first, then the records in order, then the terminator.
std::vector<std::uint8_t> ChainedTheme(const std::vector<RawEntry>& entries);

RawEntry IntegerEntry(const std::string& key, std::int32_t value);
RawEntry FlagEntry(const std::string& key, std::uint8_t value);
RawEntry TextEntry(const std::string& key, const std::string& text);
RawEntry BitmapEntry(const std::string& key, std::vector<std::uint8_t> bmp);

// A 2 x 1 24-bit BMP file whose two pixels are the given colours ($00BBGGRR).
std::vector<std::uint8_t> TinyBmp(std::uint32_t left, std::uint32_t right);

// A file with entries of every type, duplicate keys and an unknown type: the seed for
// mutation tests.
std::vector<std::uint8_t> RichTheme();

struct DamagedCase {
    std::string name;
    std::vector<std::uint8_t> bytes;
    nestora::skin::ThemeFileFault fault;
    std::wstring message; // what follows "Theme file '<name>.theme' is damaged: "
};
std::vector<DamagedCase> DamagedCases();
// gtest shows a case by its name.
inline void PrintTo(const DamagedCase& c, std::ostream* os) {
    *os << c.name;
}

struct GoodCase {
    std::string name;
    std::vector<std::uint8_t> bytes;
};
std::vector<GoodCase> GoodCases();
inline void PrintTo(const GoodCase& c, std::ostream* os) {
    *os << c.name;
}
// The bytes of the good case of that name; throws std::out_of_range when there is none.
std::vector<std::uint8_t> GoodCaseBytes(const std::string& name);

} // namespace nestora::theme_test
