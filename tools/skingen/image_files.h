// Encoders for the two file formats the resource compiler takes: Windows BMP (bottom-up,
// BITMAPINFOHEADER, 24 bits when the picture is opaque, 32 bits with straight alpha when
// it has transparent parts) and ICO (32-bit images with alpha plus an AND mask for systems
// that ignore alpha).
#pragma once

#include "canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace nestora::skingen {

using Bytes = std::vector<std::uint8_t>;

// Little-endian writers shared by the file encoders.
void Put16(Bytes& out, std::uint32_t v);
void Put32(Bytes& out, std::uint32_t v);

enum class BmpDepth { Rgb24, Rgba32 };

Bytes EncodeBmp(const Canvas& image, BmpDepth depth);
Bytes EncodeIco(const std::vector<Canvas>& images);
// The directory of an RT_GROUP_ICON resource (GRPICONDIR) listing these images as the
// RT_ICON resources firstId, firstId + 1 ...: a second icon group over images another
// group already carries, which the resource compiler numbers from 1 in script order.
Bytes EncodeIconGroup(const std::vector<Canvas>& images, int firstId);

// Writes the whole file or reports false.
bool WriteWholeFile(const std::string& path, const Bytes& bytes);
bool WriteWholeFile(const std::string& path, const std::string& text);

} // namespace nestora::skingen
