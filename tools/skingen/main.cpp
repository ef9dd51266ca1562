// skingen: the generator of Nestora's artwork. It draws every picture from code so the
// artwork is reviewable, changeable and byte-for-byte reproducible; the build embeds what
// it writes.
//
// Usage: skingen <output folder>
//            writes every bitmap and icon, and skin_art.rc naming them for the resource
//            compiler; also every bitmap deflated (.dibz) and skin_art_packed.rc naming
//            those, which is what the program embeds
//        skingen --contact-sheet <file.bmp>
//            writes one overview picture of all the artwork, for review

#include "artwork.h"
#include "contact_sheet.h"
#include "image_files.h"

#include <cstdio>
#include <exception>
#include <string>
#include <utility>

namespace {

int writeArtwork(const std::string& dir) {
    const auto artwork = skingen::drawAllArtwork();
    for (const auto& piece : artwork) {
        const std::string path = dir + "/" + piece.fileName;
        if (!skingen::writeFile(path, piece.encode())) {
            std::fprintf(stderr, "skingen: cannot write %s\n", path.c_str());
            return 1;
        }
        if (piece.type != skingen::Artwork::Type::Bitmap)
            continue;
        const std::string packed = dir + "/" + skingen::packedFileName(piece);
        if (!skingen::writeFile(packed, skingen::packBitmap(piece))) {
            std::fprintf(stderr, "skingen: cannot write %s\n", packed.c_str());
            return 1;
        }
    }
    for (const auto& [file, script] :
         {std::pair{std::string("skin_art.rc"), skingen::resourceScript(artwork)},
          std::pair{std::string("skin_art_packed.rc"), skingen::packedResourceScript(artwork)}}) {
        const std::string rcPath = dir + "/" + file;
        if (!skingen::writeFile(rcPath, script)) {
            std::fprintf(stderr, "skingen: cannot write %s\n", rcPath.c_str());
            return 1;
        }
    }
    return 0;
}

int writeContactSheet(const std::string& path) {
    const auto sheet = skingen::contactSheet(skingen::drawAllArtwork());
    if (!skingen::writeFile(path, skingen::encodeBmp(sheet, skingen::BmpDepth::Rgb24))) {
        std::fprintf(stderr, "skingen: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 2 && std::string(argv[1]).rfind("--", 0) != 0)
            return writeArtwork(argv[1]);
        if (argc == 3 && std::string(argv[1]) == "--contact-sheet")
            return writeContactSheet(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: skingen <output folder>\n"
                         "       skingen --contact-sheet <file.bmp>\n");
    return 2;
}
