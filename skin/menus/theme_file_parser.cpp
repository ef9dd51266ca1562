#include "skin/menus/theme_file_parser.h"

#include "gui/core/text.h"
#include "skin/menus/theme_file_format.h"

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

constexpr std::uint64_t kOffsetLimit = std::uint64_t{1} << 32;

std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
           std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

std::wstring Number(std::uint64_t n) {
    return gui::IntToStr(n);
}

// Control characters in a damaged key would garble a message box; show them as '?'.
std::wstring PrintableKey(std::span<const std::uint8_t> key) {
    std::wstring out = Latin1ToWide(key);
    for (wchar_t& c : out) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            c = L'?';
    }
    return out;
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
                   std::vector<ThemeEntry>& texts) const {
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
            bitmaps.push_back(entry);
            break;
        case fmt::EntryType::Integer:
            if (entry.dataSize != fmt::kIntegerDataSize) {
                Fail(ThemeFileFault::IntegerSize, L"the integer entry '" + PrintableKey(key) +
                                                      L"' has " + Number(entry.dataSize) +
                                                      L" data bytes, not " +
                                                      Number(fmt::kIntegerDataSize));
            }
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

    const std::vector<std::uint8_t>& bytes_;
    std::wstring_view fileName_;
    std::size_t size_;
};

} // namespace

ThemeFile ParseThemeFile(std::vector<std::uint8_t> bytes, std::wstring_view fileName) {
    ThemeFile theme(std::move(bytes), std::wstring(fileName));
    Parser(theme.bytes_, theme.fileName_)
        .Run(theme.bitmaps_, theme.integers_, theme.flags_, theme.texts_);
    return theme;
}

} // namespace nestora::skin
