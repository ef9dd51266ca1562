// A small DEFLATE encoder (RFC 1951) for the pictures the executable carries packed.
//
// One final block with the fixed Huffman codes, matches found through hash chains over the
// whole 32 KB window, with one step of lazy matching. Dynamic codes would save another tenth
// on this artwork; not worth a second encoder. Deterministic: the same bytes give the same
// stream, so the build stays reproducible.
#pragma once

#include "image_files.h"

#include <span>

namespace nestora::skingen {

Bytes Deflate(std::span<const std::uint8_t> data);

} // namespace nestora::skingen
