// The catalogue of every picture the program embeds: its resource name, its type, its
// file and how it is encoded. The build writes them all into one folder together with
// skin_art.rc, the resource script fragment that names them. A bitmap is written twice:
// as drawn (<name>.bmp, 24 or 32 bits, for review and as the tests' reference) and in
// the form the program carries (<name>.compact.bmp, see compact_bmp.h). Every bitmap comes
// twice, at 1x and at twice the size (kTwiceSuffix), drawn by the same code.
#pragma once

#include "canvas.h"
#include "image_files.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace nestora::skingen {

// A bitmap's twice-the-size picture is carried under the bitmap's name plus this.
inline constexpr std::string_view kTwiceSuffix = "_2X";
// The images of every icon group: the small and large icon sizes of 100 % to 200 % (and
// 64 for 300 %'s large icon and Explorer's larger views).
inline constexpr std::array<int, 7> kIconSizes{16, 20, 24, 32, 40, 48, 64};

struct Artwork {
    // IconGroup: a second icon group over the images of the script's first icon (its
    // images are those, for review and tests), carried as its directory alone.
    enum class Type { Bitmap, Icon, IconGroup };

    std::string name; // resource name
    Type type = Type::Bitmap;
    std::string fileName;
    std::vector<Canvas> images; // one for a bitmap; every size for an icon
    BmpDepth depth = BmpDepth::Rgb24;
    int firstImageId = 1; // IconGroup: the resource number of its first image

    Bytes Encode() const;
    // The file the program carries: the bitmap at its fewest bits (32-bit pictures keep
    // their alpha as they are), an icon as encode() gives it.
    Bytes EncodeResource() const;
    std::string ResourceFileName() const;
};

std::vector<Artwork> DrawAllArtwork();

// The .rc fragment listing every piece under its resource file, in catalogue order.
std::string ResourceScript(const std::vector<Artwork>& artwork);

// Looks a piece up by resource name; throws when it is missing.
const Artwork& FindArtwork(const std::vector<Artwork>& artwork, const std::string& name);

} // namespace nestora::skingen
