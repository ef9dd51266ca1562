#include "theme_writer.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace nestora::themewriter {

namespace fmt = nestora::skin::theme_format;

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void CheckKey(const std::string& key) {
    if (key.empty())
        throw ThemeWriterError("an entry has an empty key");
    if (key.size() > fmt::kRecordKeySize) {
        throw ThemeWriterError("the key '" + key + "' is " + std::to_string(key.size()) +
                               " characters long; a record holds at most " +
                               std::to_string(fmt::kRecordKeySize));
    }
    if (key.find('\0') != std::string::npos)
        throw ThemeWriterError("a key holds a zero byte, which would cut it short");
}

} // namespace

ThemeWriterEntry IntegerEntry(std::string key, std::int32_t value) {
    std::vector<std::uint8_t> data(fmt::kIntegerDataSize);
    PutU32(data, 0, static_cast<std::uint32_t>(value));
    return {std::move(key), fmt::EntryType::Integer, std::move(data)};
}

ThemeWriterEntry FlagEntry(std::string key, std::uint8_t value) {
    return {std::move(key), fmt::EntryType::Flag, {value}};
}

ThemeWriterEntry TextEntry(std::string key, std::string latin1Text) {
    return {std::move(key), fmt::EntryType::Text,
            std::vector<std::uint8_t>(latin1Text.begin(), latin1Text.end())};
}

ThemeWriterEntry BitmapEntry(std::string key, std::vector<std::uint8_t> bmpFile) {
    return {std::move(key), fmt::EntryType::Bitmap, std::move(bmpFile)};
}

std::vector<std::uint8_t> BuildThemeFile(const std::vector<ThemeWriterEntry>& entries) {
    for (const ThemeWriterEntry& entry : entries)
        CheckKey(entry.key);

    const std::uint64_t recordsAt = fmt::kHeaderSize;
    const std::uint64_t dataAt = recordsAt + (entries.size() + 1) * fmt::kRecordSize;
    std::uint64_t total = dataAt;
    for (const ThemeWriterEntry& entry : entries)
        total += entry.data.size();
    if (total > std::numeric_limits<std::uint32_t>::max()) {
        throw ThemeWriterError("the theme would be " + std::to_string(total) +
                               " bytes, more than 32-bit offsets can address");
    }

    std::vector<std::uint8_t> out(static_cast<std::size_t>(total), 0);
    std::memcpy(out.data() + fmt::kHeaderSignatureAt, fmt::kSignature, fmt::kHeaderSignatureSize);
    PutU32(out, fmt::kHeaderLengthAt, fmt::kHeaderSize);
    PutU32(out, fmt::kHeaderVersionAt, fmt::kFormatVersion);
    PutU32(out, fmt::kHeaderFirstRecordAt, static_cast<std::uint32_t>(recordsAt));

    std::size_t record = static_cast<std::size_t>(recordsAt);
    std::size_t data = static_cast<std::size_t>(dataAt);
    for (const ThemeWriterEntry& entry : entries) {
        std::copy(entry.key.begin(), entry.key.end(), out.begin() + record + fmt::kRecordKeyAt);
        out[record + fmt::kRecordTypeAt] = static_cast<std::uint8_t>(entry.type);
        PutU32(out, record + fmt::kRecordDataOffsetAt, static_cast<std::uint32_t>(data));
        PutU32(out, record + fmt::kRecordDataSizeAt, static_cast<std::uint32_t>(entry.data.size()));
        PutU32(out, record + fmt::kRecordNextAt,
               static_cast<std::uint32_t>(record + fmt::kRecordSize));
        std::copy(entry.data.begin(), entry.data.end(), out.begin() + data);
        record += fmt::kRecordSize;
        data += entry.data.size();
    }
    // The terminator stays all zeros: next-record offset 0 ends the chain.
    return out;
}

} // namespace nestora::themewriter
