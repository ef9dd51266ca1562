#include "theme_file_cases.h"

#include <algorithm>
#include <stdexcept>

namespace nestora::theme_test {

using nestora::skin::ThemeFileFault;

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

RawTheme::RawTheme() : bytes_(24, 0) {
    SetHeaderLength(24);
}

std::uint32_t RawTheme::Append(std::span<const std::uint8_t> data) {
    const std::uint32_t at = End();
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return at;
}

std::uint32_t RawTheme::AppendText(const std::string& text) {
    return Append({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

std::uint32_t RawTheme::AppendU32(std::uint32_t value) {
    std::vector<std::uint8_t> four(4);
    PutU32(four, 0, value);
    return Append(four);
}

std::uint32_t RawTheme::AppendRecord(const std::string& key, std::uint8_t type,
                                     std::uint32_t dataAt, std::uint32_t dataSize,
                                     std::uint32_t next) {
    std::vector<std::uint8_t> record(77, 0);
    std::copy_n(key.begin(), std::min<std::size_t>(key.size(), 64), record.begin());
    record[64] = type;
    PutU32(record, 65, dataAt);
    PutU32(record, 69, dataSize);
    PutU32(record, 73, next);
    return Append(record);
}

std::vector<std::uint8_t> ChainedTheme(const std::vector<RawEntry>& entries) {
    RawTheme theme;
    std::vector<std::uint32_t> dataAt;
    for (const RawEntry& entry : entries)
        dataAt.push_back(theme.Append(entry.data));
    const std::uint32_t first = theme.End();
    theme.SetFirstRecord(first);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::uint32_t next = first + static_cast<std::uint32_t>((i + 1) * 77);
        theme.AppendRecord(entries[i].key, entries[i].type, dataAt[i],
                           static_cast<std::uint32_t>(entries[i].data.size()), next);
    }
    theme.AppendRecord("", 0, 0, 0, 0);
    return theme.Bytes();
}

RawEntry IntegerEntry(const std::string& key, std::int32_t value) {
    std::vector<std::uint8_t> data(4);
    PutU32(data, 0, static_cast<std::uint32_t>(value));
    return {key, kInteger, data};
}

RawEntry FlagEntry(const std::string& key, std::uint8_t value) {
    return {key, kFlag, {value}};
}

RawEntry TextEntry(const std::string& key, const std::string& text) {
    return {key, kText, std::vector<std::uint8_t>(text.begin(), text.end())};
}

RawEntry BitmapEntry(const std::string& key, std::vector<std::uint8_t> bmp) {
    return {key, kBitmap, std::move(bmp)};
}

std::vector<std::uint8_t> TinyBmp(std::uint32_t left, std::uint32_t right) {
    std::vector<std::uint8_t> bmp(14 + 40 + 8, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutU32(bmp, 2, static_cast<std::uint32_t>(bmp.size()));
    PutU32(bmp, 10, 54);
    PutU32(bmp, 14, 40);
    PutU32(bmp, 18, 2); // width
    PutU32(bmp, 22, 1); // height
    bmp[26] = 1;        // planes
    bmp[28] = 24;       // bits per pixel
    PutU32(bmp, 34, 8);
    for (int i = 0; i < 2; ++i) {
        const std::uint32_t c = i == 0 ? left : right;
        bmp[54 + 3 * i] = static_cast<std::uint8_t>(c >> 16);    // blue
        bmp[54 + 3 * i + 1] = static_cast<std::uint8_t>(c >> 8); // green
        bmp[54 + 3 * i + 2] = static_cast<std::uint8_t>(c);      // red
    }
    return bmp;
}

std::vector<std::uint8_t> RichTheme() {
    return ChainedTheme({
        BitmapEntry("TitleBarLeftImage", TinyBmp(0x00204A1A, 0x004CA044)),
        IntegerEntry("MenuBarColor", 0x00CFE3D2),
        IntegerEntry("menubarcolor", 0x00000001),
        FlagEntry("TitleBarButtonTransparentBool", 2),
        {"FutureKind", 7, {1, 2, 3}},
        TextEntry("ThemeName", "Gr\xFCn"),
        IntegerEntry("TitleBarButtonTopInt", -4),
        BitmapEntry("TitleBarClientImage", TinyBmp(0x00FFFFFF, 0)),
        FlagEntry("ButtonTransparentBool", 0),
    });
}

namespace {

// A valid first record (an integer) whose next-record offset is patched by the case.
struct OneRecord {
    RawTheme theme;
    std::uint32_t record = 0;
};

OneRecord IntegerThenNext(std::uint32_t next) {
    OneRecord r;
    const std::uint32_t data = r.theme.AppendU32(7);
    r.record = r.theme.AppendRecord("FormBorderWidthInt", kInteger, data, 4, next);
    r.theme.SetFirstRecord(r.record);
    return r;
}

std::vector<std::uint8_t> SingleEntry(const std::string& key, std::uint8_t type,
                                      std::uint32_t dataAt, std::uint32_t dataSize) {
    RawTheme theme;
    const std::uint32_t first = theme.End();
    theme.SetFirstRecord(first);
    theme.AppendRecord(key, type, dataAt, dataSize, first + 77);
    theme.AppendRecord("", 0, 0, 0, 0);
    return theme.Bytes();
}

// Records 76 bytes apart, each sharing its last byte (the zero high byte of its next
// offset) with the key of the following one, and each of an unknown type: a chain of
// distinct records, no loop, but more of them than a file this size has room for.
std::vector<std::uint8_t> OverlappingChain(int records, bool terminated) {
    RawTheme theme;
    theme.SetFirstRecord(24);
    std::vector<std::uint8_t>& b = theme.Bytes();
    b.resize(24 + 76 * records + 1, 0);
    for (int i = 0; i < records; ++i) {
        const std::size_t at = 24 + 76 * static_cast<std::size_t>(i);
        b[at + 64] = 9;
        const bool last = i == records - 1;
        PutU32(b, at + 73, last && terminated ? 0 : static_cast<std::uint32_t>(at + 76));
    }
    return b;
}

} // namespace

std::vector<DamagedCase> DamagedCases() {
    std::vector<DamagedCase> cases;
    cases.push_back({"empty", {}, ThemeFileFault::Empty, L"the file is empty"});
    {
        RawTheme t;
        t.SetFirstRecord(24);
        auto b = t.Bytes();
        b.resize(20);
        cases.push_back({"shorter-than-header", b, ThemeFileFault::TooShort,
                         L"it is 20 bytes long, shorter than its 24-byte header"});
    }
    {
        OneRecord r = IntegerThenNext(0);
        r.theme.SetHeaderLength(30);
        cases.push_back({"header-length-30", r.theme.Bytes(), ThemeFileFault::HeaderLength,
                         L"the header length is 30, not 24"});
    }
    {
        OneRecord r = IntegerThenNext(0);
        r.theme.SetFirstRecord(5000);
        cases.push_back({"first-record-past-end", r.theme.Bytes(), ThemeFileFault::RecordBeyondEnd,
                         L"the record at offset 5000 lies beyond the end of the file (105 bytes)"});
    }
    {
        RawTheme t;
        t.SetFirstRecord(24);
        t.Append(std::vector<std::uint8_t>(40, 0));
        cases.push_back({"record-straddles-end", t.Bytes(), ThemeFileFault::RecordPastEnd,
                         L"the record at offset 24 runs past the end of the file (64 bytes)"});
    }
    {
        // The second record would start 10 bytes before the end of the file.
        OneRecord r = IntegerThenNext(0);
        r.theme.Append(std::vector<std::uint8_t>(30, 0));
        PutU32(r.theme.Bytes(), r.record + 73, r.theme.End() - 10);
        cases.push_back({"next-record-straddles-end", r.theme.Bytes(),
                         ThemeFileFault::RecordPastEnd,
                         L"the record at offset 125 runs past the end of the file (135 bytes)"});
    }
    cases.push_back({"data-past-end", SingleEntry("MenuFontColor", kInteger, 176, 4),
                     ThemeFileFault::DataPastEnd,
                     L"the data of entry 'MenuFontColor' (offset 176, 4 bytes) runs past the "
                     L"end of the file (178 bytes)"});
    cases.push_back({"data-offset-past-end", SingleEntry("ThemeName", kText, 4000, 0),
                     ThemeFileFault::DataPastEnd,
                     L"the data of entry 'ThemeName' (offset 4000, 0 bytes) runs past the end "
                     L"of the file (178 bytes)"});
    // 16 + 0xFFFFFFF8 wraps to 8 in 32 bits, which would pass a 32-bit check.
    cases.push_back({"data-size-wraps", SingleEntry("TitleBarLeftImage", kBitmap, 16, 0xFFFFFFF8),
                     ThemeFileFault::DataPastEnd,
                     L"the data of entry 'TitleBarLeftImage' (offset 16, 4294967288 bytes) runs "
                     L"past the end of the file (178 bytes)"});
    cases.push_back({"integer-size-3", SingleEntry("FormMinWidthInt", kInteger, 0, 3),
                     ThemeFileFault::IntegerSize,
                     L"the integer entry 'FormMinWidthInt' has 3 data bytes, not 4"});
    cases.push_back({"integer-size-8", SingleEntry("FormMinWidthInt", kInteger, 0, 8),
                     ThemeFileFault::IntegerSize,
                     L"the integer entry 'FormMinWidthInt' has 8 data bytes, not 4"});
    cases.push_back({"flag-size-2", SingleEntry("ButtonTransparentBool", kFlag, 0, 2),
                     ThemeFileFault::FlagSize,
                     L"the flag entry 'ButtonTransparentBool' has 2 data bytes, not 1"});
    cases.push_back({"flag-size-0", SingleEntry("ButtonTransparentBool", kFlag, 0, 0),
                     ThemeFileFault::FlagSize,
                     L"the flag entry 'ButtonTransparentBool' has 0 data bytes, not 1"});
    {
        // A -> B -> C -> B
        RawTheme t;
        const std::uint32_t data = t.AppendU32(1);
        const std::uint32_t a = t.End(), b = a + 77, c = b + 77;
        t.AppendRecord("A", kInteger, data, 4, b);
        t.AppendRecord("B", kInteger, data, 4, c);
        t.AppendRecord("C", kInteger, data, 4, b);
        t.SetFirstRecord(a);
        cases.push_back({"chain-loops-back", t.Bytes(), ThemeFileFault::ChainLoop,
                         L"the record at offset 182 leads back to the record at offset 105"});
    }
    {
        OneRecord r = IntegerThenNext(0);
        PutU32(r.theme.Bytes(), r.record + 73, r.record);
        cases.push_back({"chain-points-to-itself", r.theme.Bytes(), ThemeFileFault::ChainLoop,
                         L"the record at offset 28 names itself as the next record"});
    }
    cases.push_back({"chain-longer-than-file", OverlappingChain(30, false),
                     ThemeFileFault::ChainTooLong,
                     L"its record chain is longer than a file of 2305 bytes can hold"});
    {
        const std::string zip = "PK\x03\x04 this is not a picture at all";
        cases.push_back({"bitmap-not-bmp",
                         ChainedTheme({{"TitleBarButtonImage", kBitmap,
                                        std::vector<std::uint8_t>(zip.begin(), zip.end())}}),
                         ThemeFileFault::NotBitmap,
                         L"the bitmap entry 'TitleBarButtonImage' does not hold a BMP picture"});
    }
    {
        // "BM" and nothing that could follow it.
        cases.push_back({"bitmap-too-short-for-bmp",
                         ChainedTheme({BitmapEntry("TitleBarRightImage", {'B', 'M', 0, 0})}),
                         ThemeFileFault::NotBitmap,
                         L"the bitmap entry 'TitleBarRightImage' does not hold a BMP picture"});
    }
    {
        // A bitmap header size that would reach past the block.
        auto bmp = TinyBmp(0, 0);
        PutU32(bmp, 14, 0x7FFFFFFF);
        cases.push_back({"bitmap-header-past-block",
                         ChainedTheme({BitmapEntry("TitleBarClientImage", bmp)}),
                         ThemeFileFault::NotBitmap,
                         L"the bitmap entry 'TitleBarClientImage' does not hold a BMP picture"});
    }
    cases.push_back({"integer-out-of-range",
                     ChainedTheme({IntegerEntry("FormMinWidthInt", 10000000)}),
                     ThemeFileFault::ValueOutOfRange,
                     L"the integer entry 'FormMinWidthInt' is 10000000, outside 0 to 1024"});
    // Every entry counts, not only the first of its key that lookups would find.
    cases.push_back({"later-duplicate-out-of-range",
                     ChainedTheme({IntegerEntry("FormRoundCornerInt", 11),
                                   IntegerEntry("formroundcornerint", -1)}),
                     ThemeFileFault::ValueOutOfRange,
                     L"the integer entry 'formroundcornerint' is -1, outside 0 to 64"});
    cases.push_back({"colour-neither-rgb-nor-system",
                     ChainedTheme({IntegerEntry("MenuBarColor", 0x12345678)}),
                     ThemeFileFault::ValueOutOfRange,
                     L"the colour entry 'MenuBarColor' is $12345678, neither an RGB colour nor "
                     L"a system colour"});
    {
        // The header alone decides: the picture is never decoded.
        auto bmp = TinyBmp(0, 0);
        PutU32(bmp, 18, 5000);
        cases.push_back({"picture-too-wide", ChainedTheme({BitmapEntry("TitleBarLeftImage", bmp)}),
                         ThemeFileFault::PictureTooLarge,
                         L"the bitmap entry 'TitleBarLeftImage' is 5000 x 1 pixels, more than "
                         L"4096 x 4096"});
        auto tall = TinyBmp(0, 0);
        PutU32(tall, 22, static_cast<std::uint32_t>(-4097)); // top-down
        cases.push_back({"picture-too-high-top-down",
                         ChainedTheme({BitmapEntry("TitleBarRightImage", tall)}),
                         ThemeFileFault::PictureTooLarge,
                         L"the bitmap entry 'TitleBarRightImage' is 2 x 4097 pixels, more than "
                         L"4096 x 4096"});
        auto largest = TinyBmp(0, 0);
        PutU32(largest, 18, 4096);
        PutU32(largest, 22, 4096);
        cases.push_back({"pictures-too-many-pixels",
                         ChainedTheme({BitmapEntry("TitleBarLeftImage", largest),
                                       BitmapEntry("TitleBarRightImage", largest),
                                       BitmapEntry("TitleBarClientImage", largest)}),
                         ThemeFileFault::PicturesTooLarge,
                         L"its pictures up to the bitmap entry 'TitleBarClientImage' have "
                         L"50331648 pixels, more than the 33554432 a theme may hold"});
    }
    {
        // A key with control characters is shown with '?' in their place.
        cases.push_back({"key-with-control-characters",
                         SingleEntry(std::string("Bad\nKey\x01", 8), kFlag, 0, 5),
                         ThemeFileFault::FlagSize,
                         L"the flag entry 'Bad?Key?' has 5 data bytes, not 1"});
    }
    return cases;
}

std::vector<GoodCase> GoodCases() {
    std::vector<GoodCase> cases;
    {
        RawTheme t;
        t.SetFirstRecord(24);
        t.AppendRecord("", 0, 0, 0, 0);
        cases.push_back({"terminator-only", t.Bytes()});
    }
    cases.push_back({"rich", RichTheme()});
    {
        // Unknown types are skipped unread, however wild their data fields.
        RawTheme t;
        const std::uint32_t first = t.End();
        t.SetFirstRecord(first);
        t.AppendRecord("Future", 4, 0xFFFFFFF0, 0xFFFFFFFF, first + 77);
        t.AppendRecord("Other", 255, 0, 0, first + 154);
        t.AppendRecord("", 0, 0, 0, 0);
        cases.push_back({"unknown-types", t.Bytes()});
    }
    cases.push_back({"overlapping-records", OverlappingChain(25, true)});
    {
        // Parts in reverse order: records first, data last, the header's offset pointing
        // forward and back.
        RawTheme t;
        const std::uint32_t terminator = t.AppendRecord("", 0, 0, 0, 0);
        const std::uint32_t record = t.AppendRecord("MenuBarColor", kInteger, 0, 4, terminator);
        PutU32(t.Bytes(), record + 65, t.AppendU32(0x00123456));
        t.SetFirstRecord(record);
        cases.push_back({"parts-in-any-order", t.Bytes()});
    }
    return cases;
}

std::vector<std::uint8_t> GoodCaseBytes(const std::string& name) {
    for (GoodCase& c : GoodCases()) {
        if (c.name == name)
            return std::move(c.bytes);
    }
    throw std::out_of_range("no good theme case named " + name);
}

} // namespace nestora::theme_test
