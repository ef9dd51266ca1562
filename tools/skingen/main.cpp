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

int WriteArtwork(const std::string& dir) {
    const auto artwork = nestora::skingen::DrawAllArtwork();
    for (const auto& piece : artwork) {
        const std::string path = dir + "/" + piece.fileName;
        if (!nestora::skingen::WriteWholeFile(path, piece.Encode())) {
            std::fprintf(stderr, "skingen: cannot write %s\n", path.c_str());
            return 1;
        }
        if (piece.type != nestora::skingen::Artwork::Type::Bitmap)
            continue;
        const std::string packed = dir + "/" + nestora::skingen::PackedFileName(piece);
        if (!nestora::skingen::WriteWholeFile(packed, nestora::skingen::PackBitmap(piece))) {
            std::fprintf(stderr, "skingen: cannot write %s\n", packed.c_str());
            return 1;
        }
    }
    for (const auto& [file, script] :
         {std::pair{std::string("skin_art.rc"), nestora::skingen::ResourceScript(artwork)},
          std::pair{std::string("skin_art_packed.rc"), nestora::skingen::PackedResourceScript(artwork)}}) {
        const std::string rcPath = dir + "/" + file;
        if (!nestora::skingen::WriteWholeFile(rcPath, script)) {
            std::fprintf(stderr, "skingen: cannot write %s\n", rcPath.c_str());
            return 1;
        }
    }
    return 0;
}

int WriteContactSheet(const std::string& path) {
    const auto sheet = nestora::skingen::ContactSheet(nestora::skingen::DrawAllArtwork());
    if (!nestora::skingen::WriteWholeFile(path, nestora::skingen::EncodeBmp(sheet, nestora::skingen::BmpDepth::Rgb24))) {
        std::fprintf(stderr, "skingen: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 2 && std::string(argv[1]).rfind("--", 0) != 0)
            return WriteArtwork(argv[1]);
        if (argc == 3 && std::string(argv[1]) == "--contact-sheet")
            return WriteContactSheet(argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: skingen <output folder>\n"
                         "       skingen --contact-sheet <file.bmp>\n");
    return 2;
}
