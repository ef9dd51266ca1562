// skingen: the generator of Nestora's artwork. It draws every picture from code so the
// artwork is reviewable, changeable and byte-for-byte reproducible; the build embeds what
// it writes.
//
// Usage: skingen <output folder>
//            writes every bitmap as drawn (<name>.bmp) and as the program carries it
//            (<name>.compact.bmp), every icon, and skin_art.rc naming what the program
//            embeds for the resource compiler
//        skingen --contact-sheet <file.bmp>
//            writes one overview picture of all the artwork, for review

#include "artwork.h"
#include "contact_sheet.h"
#include "image_files.h"

#include <cstdio>
#include <exception>
#include <string>

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
        const std::string carried = dir + "/" + piece.ResourceFileName();
        if (!nestora::skingen::WriteWholeFile(carried, piece.EncodeResource())) {
            std::fprintf(stderr, "skingen: cannot write %s\n", carried.c_str());
            return 1;
        }
    }
    const std::string rcPath = dir + "/skin_art.rc";
    if (!nestora::skingen::WriteWholeFile(rcPath, nestora::skingen::ResourceScript(artwork))) {
        std::fprintf(stderr, "skingen: cannot write %s\n", rcPath.c_str());
        return 1;
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
