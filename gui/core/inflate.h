#pragma once
// Decoding of raw DEFLATE data (RFC 1951: stored, fixed and dynamic Huffman blocks).
//
// The executable carries its pictures deflated (a sixth of their size); this turns them
// back into bytes. A picture in a resource is data like any other: a malformed stream, one
// that ends early, refers to bytes before its start or would grow beyond the caller's limit
// gives nothing, and nothing is read or written outside the buffers. No windows.h here.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace nestora::gui {

// The decoded bytes, or nothing when the stream is not sound or its output would exceed
// `limit` bytes. Bytes after the final block are ignored.
std::optional<std::vector<std::uint8_t>> Inflate(std::span<const std::uint8_t> deflated,
                                                 std::size_t limit);

} // namespace nestora::gui
