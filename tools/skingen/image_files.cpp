#include "image_files.h"

#include <fstream>

namespace nestora::skingen {

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

namespace {

std::uint32_t U32(int v) {
    return static_cast<std::uint32_t>(v);
}

// BITMAPINFOHEADER with BI_RGB; `rows` is the height as stored (doubled for icons).
void PutInfoHeader(Bytes& out, int width, int rows, int bits, std::uint32_t imageSize) {
    Put32(out, 40);
    Put32(out, U32(width));
    Put32(out, U32(rows));
    Put16(out, 1);
    Put16(out, U32(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835); // 72 dpi, as paint programs write it
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
}

int RowStride(int width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

// Pixel rows bottom-up, each padded to four bytes.
void PutPixels(Bytes& out, const Canvas& image, int bits) {
    const int stride = RowStride(image.Width(), bits);
    for (int y = image.Height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < image.Width(); ++x) {
            const Rgba& p = image.at(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
            if (bits == 32)
                out.push_back(p.a);
        }
        out.resize(rowStart + static_cast<std::size_t>(stride), 0);
    }
}

} // namespace

Bytes EncodeBmp(const Canvas& image, BmpDepth depth) {
    const int bits = depth == BmpDepth::Rgba32 ? 32 : 24;
    const std::uint32_t imageSize = U32(RowStride(image.Width(), bits) * image.Height());
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + imageSize);
    Put32(out, 0);
    Put32(out, 14 + 40);
    PutInfoHeader(out, image.Width(), image.Height(), bits, imageSize);
    PutPixels(out, image, bits);
    return out;
}

namespace {

// One icon image: header with double height, 32-bit pixels, then the 1-bit AND mask,
// set where the pixel is (mostly) transparent so alpha-blind systems leave it out too.
Bytes IconImage(const Canvas& image) {
    const int w = image.Width(), h = image.Height();
    const int maskStride = RowStride(w, 1);
    const std::uint32_t size = U32(RowStride(w, 32) * h + maskStride * h);
    Bytes out;
    PutInfoHeader(out, w, h * 2, 32, size);
    PutPixels(out, image, 32);
    for (int y = h - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < w; ++x)
            if (image.at(x, y).a < 128)
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

Bytes EncodeIco(const std::vector<Canvas>& images) {
    Bytes out;
    Put16(out, 0);
    Put16(out, 1); // icon, not cursor
    Put16(out, U32(static_cast<int>(images.size())));
    std::vector<Bytes> bodies;
    for (const Canvas& image : images)
        bodies.push_back(IconImage(image));
    std::uint32_t offset = U32(6 + 16 * static_cast<int>(images.size()));
    for (std::size_t n = 0; n < images.size(); ++n) {
        // 0 stands for 256 in the one-byte size fields.
        out.push_back(static_cast<std::uint8_t>(images[n].Width() & 0xFF));
        out.push_back(static_cast<std::uint8_t>(images[n].Height() & 0xFF));
        out.push_back(0); // no palette
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, 32); // bits per pixel
        Put32(out, U32(static_cast<int>(bodies[n].size())));
        Put32(out, offset);
        offset += U32(static_cast<int>(bodies[n].size()));
    }
    for (const Bytes& body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes EncodeIconGroup(const std::vector<Canvas>& images, int firstId) {
    Bytes out;
    Put16(out, 0);
    Put16(out, 1); // icons
    Put16(out, U32(static_cast<int>(images.size())));
    for (std::size_t n = 0; n < images.size(); ++n) {
        // As in the file's directory, with the resource's number for the file's offset.
        out.push_back(static_cast<std::uint8_t>(images[n].Width() & 0xFF));
        out.push_back(static_cast<std::uint8_t>(images[n].Height() & 0xFF));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, U32(static_cast<int>(IconImage(images[n]).size())));
        Put16(out, U32(firstId + static_cast<int>(n)));
    }
    return out;
}

bool WriteWholeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    f.close();
    return static_cast<bool>(f);
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
    return WriteWholeFile(path, Bytes(text.begin(), text.end()));
}

} // namespace nestora::skingen
