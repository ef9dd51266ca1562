#pragma once
// The byte layout of a theme file, shared by the reader and by the theme writer tool.
//
// A theme file is little-endian throughout: a 24-byte header, a chain of 77-byte entry
// records and the data blocks they point to, all joined by offsets from the start of the
// file, so the parts may lie in any order. The chain ends at the first record whose
// next-record offset is 0; that record is a terminator and its own entry is not loaded.
//
// No windows.h: the host-side theme writer includes this too.

#include <cstddef>
#include <cstdint>

namespace nestora::skin::theme_format {

inline constexpr std::size_t kHeaderSize = 24;
// Header fields. Bytes 0..11 and 16..19 are free for the writer: ours puts a signature and
// a format version there, and the reader never requires them (files from other writers
// carry other bytes).
inline constexpr std::size_t kHeaderSignatureAt = 0;
inline constexpr std::size_t kHeaderSignatureSize = 12;
inline constexpr std::size_t kHeaderLengthAt = 12;
inline constexpr std::size_t kHeaderVersionAt = 16;
inline constexpr std::size_t kHeaderFirstRecordAt = 20;
inline constexpr char kSignature[kHeaderSignatureSize + 1] = "NESTORATHEME";
inline constexpr std::uint32_t kFormatVersion = 1;

inline constexpr std::size_t kRecordSize = 77;
// Record fields, packed with no gaps.
inline constexpr std::size_t kRecordKeyAt = 0;
inline constexpr std::size_t kRecordKeySize = 64; // 8-bit characters, zero-ended unless full
inline constexpr std::size_t kRecordTypeAt = 64;
inline constexpr std::size_t kRecordDataOffsetAt = 65;
inline constexpr std::size_t kRecordDataSizeAt = 69;
inline constexpr std::size_t kRecordNextAt = 73;

// Entry types as stored in a record; any other value marks an entry readers skip.
enum class EntryType : std::uint8_t {
    Bitmap = 0,  // a complete BMP file, file header included
    Integer = 1, // a signed 32-bit integer; colours are stored as $00BBGGRR values
    Flag = 2,    // one byte, 0 false and anything else true
    Text = 3,    // 8-bit characters, no terminator
};

inline constexpr std::uint32_t kIntegerDataSize = 4;
inline constexpr std::uint32_t kFlagDataSize = 1;

} // namespace nestora::skin::theme_format
