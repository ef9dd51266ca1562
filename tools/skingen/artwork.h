// The catalogue of every picture the program embeds: its resource name, its type, its
// file and how it is encoded. The build writes them all into one folder together with
// skin_art.rc, the resource script fragment that names them.
#pragma once

#include "canvas.h"
#include "image_files.h"

#include <string>
#include <vector>

namespace nestora::skingen {

struct Artwork {
    enum class Type { Bitmap, Icon };

    std::string name; // resource name
    Type type = Type::Bitmap;
    std::string fileName;
    std::vector<Canvas> images; // one for a bitmap; every size for an icon
    BmpDepth depth = BmpDepth::Rgb24;

    Bytes Encode() const;
};

std::vector<Artwork> DrawAllArtwork();

// The .rc fragment listing every piece, in catalogue order.
std::string ResourceScript(const std::vector<Artwork>& artwork);

// The type of resource a packed bitmap is kept under: its packed DIB (a .bmp file without
// its 14-byte file header, as in a BITMAP resource), deflated.
inline constexpr char kPackedBitmapType[] = "PACKEDDIB";
// The file a bitmap's packed form is written to ("<name>.dibz").
std::string PackedFileName(const Artwork& piece);
// The packed form of a bitmap piece.
Bytes PackBitmap(const Artwork& piece);
// The same fragment with every bitmap packed: what the program embeds (a sixth of the size).
std::string PackedResourceScript(const std::vector<Artwork>& artwork);

// Looks a piece up by resource name; throws when it is missing.
const Artwork& FindArtwork(const std::vector<Artwork>& artwork, const std::string& name);

} // namespace nestora::skingen
