#include "skin/menus/theme_file_parser.h"

#include "gui/core/text.h"
#include "skin/menus/theme_file_format.h"
#include "skin/menus/theme_value_ranges.h"

#include <algorithm>
#include <string>
#include <utility>

namespace nestora::skin {

namespace fmt = theme_format;

namespace {

// The smallest thing that can be a BMP file: its 14-byte file header and the size field
// of the bitmap header that follows. The full check of the picture belongs to the code
// that decodes it; this one only keeps an obviously foreign block out.
constexpr std::size_t kBmpFileHeaderSize = 14;
constexpr std::uint32_t kSmallestBmpInfoHeader = 12; // BITMAPCOREHEADER
// Width and height follow the header's size field: 16 bits each in a BITMAPCOREHEADER,
// 32 bits (signed; a negative height is a top-down picture) in every later header.
constexpr std::size_t kBmpWidthAt = kBmpFileHeaderSize + 4;
constexpr std::size_t kBmpHeightAt = kBmpFileHeaderSize + 8;
constexpr std::size_t kCoreHeightAt = kBmpFileHeaderSize + 6;

constexpr std::uint64_t kOffsetLimit = std::uint64_t{1} << 32;

std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

std::wstring Number(std::uint64_t n) {
    return gui::IntToStr(n);
}

std::wstring SignedNumber(std::int64_t n) {
    return gui::IntToStr(n);
}

std::wstring HexNumber(std::uint32_t n) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring out = L"$";
    for (int shift = 28; shift >= 0; shift -= 4)
        out += kDigits[(n >> shift) & 0xF];
    return out;
}

std::uint16_t ReadU16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::wstring PrintableKey(std::span<const std::uint8_t> key) {
    return PrintableThemeKey(Latin1ToWide(key));
}

class Parser {
public:
    Parser(const std::vector<std::uint8_t>& bytes, std::wstring_view fileName)
        : bytes_(bytes), fileName_(fileName), size_(bytes.size()) {}

    // Walks the chain and fills the four lists.
    void Run(std::vector<ThemeEntry>& bitmaps, std::vector<ThemeEntry>& integers,
             std::vector<ThemeEntry>& flags, std::vector<ThemeEntry>& texts) {
        CheckHeader();
        // Every record read is marked here; coming back to one is a loop. Records may
        // overlap, so the count is bounded separately by what the file can hold.
        // Record offsets are 32-bit, so the marks never need to cover more than that.
        std::vector<bool> seen(std::min<std::uint64_t>(size_, kOffsetLimit), false);
        const std::size_t maxRecords = size_ / fmt::kRecordSize;
        std::size_t records = 0;
        std::uint64_t previous = 0;
        std::uint64_t at = ReadU32(bytes_, fmt::kHeaderFirstRecordAt);
        for (;;) {
            CheckRecordFits(at);
            if (seen[at]) {
                Fail(ThemeFileFault::ChainLoop,
                     at == previous ? L"the record at offset " + Number(at) +
                                          L" names itself as the next record"
                                    : L"the record at offset " + Number(previous) +
                                          L" leads back to the record at offset " + Number(at));
            }
            seen[at] = true;
            if (++records > maxRecords) {
                Fail(ThemeFileFault::ChainTooLong, L"its record chain is longer than a file of " +
                                                       Number(size_) + L" bytes can hold");
            }
            const std::uint32_t next = ReadU32(bytes_, at + fmt::kRecordNextAt);
            if (next == 0)
                return; // the terminator: its own entry is not loaded
            ReadEntry(at, bitmaps, integers, flags, texts);
            previous = at;
            at = next;
        }
    }

private:
    [[noreturn]] void Fail(ThemeFileFault fault, const std::wstring& what) const {
        throw ThemeFileError(fault,
                             L"Theme file '" + std::wstring(fileName_) + L"' is damaged: " + what);
    }

    void CheckHeader() const {
        if (size_ == 0)
            Fail(ThemeFileFault::Empty, L"the file is empty");
        if (size_ < fmt::kHeaderSize) {
            Fail(ThemeFileFault::TooShort, L"it is " + Number(size_) +
                                               L" bytes long, shorter than its " +
                                               Number(fmt::kHeaderSize) + L"-byte header");
        }
        const std::uint32_t headerLength = ReadU32(bytes_, fmt::kHeaderLengthAt);
        if (headerLength != fmt::kHeaderSize) {
            Fail(ThemeFileFault::HeaderLength, L"the header length is " + Number(headerLength) +
                                                   L", not " + Number(fmt::kHeaderSize));
        }
    }

    void CheckRecordFits(std::uint64_t at) const {
        if (at >= size_) {
            Fail(ThemeFileFault::RecordBeyondEnd, L"the record at offset " + Number(at) +
                                                      L" lies beyond the end of the file (" +
                                                      Number(size_) + L" bytes)");
        }
        if (size_ - at < fmt::kRecordSize) {
            Fail(ThemeFileFault::RecordPastEnd, L"the record at offset " + Number(at) +
                                                    L" runs past the end of the file (" +
                                                    Number(size_) + L" bytes)");
        }
    }

    void ReadEntry(std::uint64_t at, std::vector<ThemeEntry>& bitmaps,
                   std::vector<ThemeEntry>& integers, std::vector<ThemeEntry>& flags,
                   std::vector<ThemeEntry>& texts) {
        const std::uint8_t type = bytes_[at + fmt::kRecordTypeAt];
        if (type > static_cast<std::uint8_t>(fmt::EntryType::Text))
            return; // unknown types are skipped, data unread

        ThemeEntry entry;
        entry.keyAt = static_cast<std::uint32_t>(at + fmt::kRecordKeyAt);
        while (entry.keyLength < fmt::kRecordKeySize &&
               bytes_[entry.keyAt + entry.keyLength] != 0) {
            ++entry.keyLength;
        }
        entry.dataAt = ReadU32(bytes_, at + fmt::kRecordDataOffsetAt);
        entry.dataSize = ReadU32(bytes_, at + fmt::kRecordDataSizeAt);
        const std::span<const std::uint8_t> key(bytes_.data() + entry.keyAt, entry.keyLength);

        // In 64 bits, so a size that would wrap an offset around 32 bits cannot pass.
        if (std::uint64_t{entry.dataAt} + entry.dataSize > size_) {
            Fail(ThemeFileFault::DataPastEnd,
                 L"the data of entry '" + PrintableKey(key) + L"' (offset " + Number(entry.dataAt) +
                     L", " + Number(entry.dataSize) + L" bytes) runs past the end of the file (" +
                     Number(size_) + L" bytes)");
        }

        switch (static_cast<fmt::EntryType>(type)) {
        case fmt::EntryType::Bitmap:
            CheckBitmap(entry, key);
            CheckPictureSize(entry, key);
            bitmaps.push_back(entry);
            break;
        case fmt::EntryType::Integer:
            if (entry.dataSize != fmt::kIntegerDataSize) {
                Fail(ThemeFileFault::IntegerSize, L"the integer entry '" + PrintableKey(key) +
                                                      L"' has " + Number(entry.dataSize) +
                                                      L" data bytes, not " +
                                                      Number(fmt::kIntegerDataSize));
            }
            CheckInteger(entry, key);
            integers.push_back(entry);
            break;
        case fmt::EntryType::Flag:
            if (entry.dataSize != fmt::kFlagDataSize) {
                Fail(ThemeFileFault::FlagSize, L"the flag entry '" + PrintableKey(key) + L"' has " +
                                                   Number(entry.dataSize) + L" data bytes, not " +
                                                   Number(fmt::kFlagDataSize));
            }
            flags.push_back(entry);
            break;
        case fmt::EntryType::Text:
            texts.push_back(entry);
            break;
        }
    }

    void CheckBitmap(const ThemeEntry& entry, std::span<const std::uint8_t> key) const {
        const std::uint8_t* data = bytes_.data() + entry.dataAt;
        bool looksLikeBmp =
            entry.dataSize >= kBmpFileHeaderSize + 4 && data[0] == 'B' && data[1] == 'M';
        if (looksLikeBmp) {
            const std::uint32_t infoSize = ReadU32(bytes_, entry.dataAt + kBmpFileHeaderSize);
            looksLikeBmp = infoSize >= kSmallestBmpInfoHeader &&
                           infoSize <= entry.dataSize - kBmpFileHeaderSize;
        }
        if (!looksLikeBmp) {
            Fail(ThemeFileFault::NotBitmap,
                 L"the bitmap entry '" + PrintableKey(key) + L"' does not hold a BMP picture");
        }
    }

    // Every entry is checked, not only the first of each key: a file with any part out of
    // range is refused whole.
    void CheckInteger(const ThemeEntry& entry, std::span<const std::uint8_t> key) const {
        const std::wstring name = Latin1ToWide(key);
        const auto value = static_cast<std::int32_t>(ReadU32(bytes_, entry.dataAt));
        if (const ThemeIntegerRange* range = FindThemeIntegerRange(name)) {
            if (value < range->min || value > range->max) {
                Fail(ThemeFileFault::ValueOutOfRange, L"the integer entry '" + PrintableKey(key) +
                                                          L"' is " + SignedNumber(value) +
                                                          L", outside " + SignedNumber(range->min) +
                                                          L" to " + SignedNumber(range->max));
            }
        } else if (IsThemeColourKey(name) && !IsThemeColourValue(value)) {
            Fail(ThemeFileFault::ValueOutOfRange,
                 L"the colour entry '" + PrintableKey(key) + L"' is " +
                     HexNumber(static_cast<std::uint32_t>(value)) +
                     L", neither an RGB colour nor a system colour");
        }
    }

    // The picture's size from its header, before anything decodes it: each side at most
    // kMaxThemePictureSide, all pictures together at most kMaxThemePicturePixels. The sign
    // and zero are the decoder's to judge.
    void CheckPictureSize(const ThemeEntry& entry, std::span<const std::uint8_t> key) {
        const std::uint32_t infoSize = ReadU32(bytes_, entry.dataAt + kBmpFileHeaderSize);
        std::int64_t width = 0;
        std::int64_t height = 0;
        if (infoSize == kSmallestBmpInfoHeader) {
            width = ReadU16(bytes_, entry.dataAt + kBmpWidthAt);
            height = ReadU16(bytes_, entry.dataAt + kCoreHeightAt);
        } else {
            width = static_cast<std::int32_t>(ReadU32(bytes_, entry.dataAt + kBmpWidthAt));
            height = static_cast<std::int32_t>(ReadU32(bytes_, entry.dataAt + kBmpHeightAt));
        }
        width = width < 0 ? -width : width;
        height = height < 0 ? -height : height;
        if (width > kMaxThemePictureSide || height > kMaxThemePictureSide) {
            Fail(ThemeFileFault::PictureTooLarge,
                 L"the bitmap entry '" + PrintableKey(key) + L"' is " + SignedNumber(width) +
                     L" x " + SignedNumber(height) + L" pixels, more than " +
                     SignedNumber(kMaxThemePictureSide) + L" x " +
                     SignedNumber(kMaxThemePictureSide));
        }
        picturePixels_ += width * height;
        if (picturePixels_ > kMaxThemePicturePixels) {
            Fail(ThemeFileFault::PicturesTooLarge,
                 L"its pictures up to the bitmap entry '" + PrintableKey(key) + L"' have " +
                     SignedNumber(picturePixels_) + L" pixels, more than the " +
                     SignedNumber(kMaxThemePicturePixels) + L" a theme may hold");
        }
    }

    const std::vector<std::uint8_t>& bytes_;
    std::wstring_view fileName_;
    std::size_t size_;
    std::int64_t picturePixels_ = 0;
};

} // namespace

ThemeFile ParseThemeFile(std::vector<std::uint8_t> bytes, std::wstring_view fileName) {
    ThemeFile theme(std::move(bytes), std::wstring(fileName));
    Parser(theme.bytes_, theme.fileName_)
        .Run(theme.bitmaps_, theme.integers_, theme.flags_, theme.texts_);
    return theme;
}

} // namespace nestora::skin
