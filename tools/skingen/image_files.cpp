#include "image_files.h"

#include <fstream>

namespace skingen {

namespace {

void put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::uint32_t u32(int v) {
    return static_cast<std::uint32_t>(v);
}

// BITMAPINFOHEADER with BI_RGB; `rows` is the height as stored (doubled for icons).
void putInfoHeader(Bytes& out, int width, int rows, int bits, std::uint32_t imageSize) {
    put32(out, 40);
    put32(out, u32(width));
    put32(out, u32(rows));
    put16(out, 1);
    put16(out, u32(bits));
    put32(out, 0); // BI_RGB
    put32(out, imageSize);
    put32(out, 2835); // 72 dpi, as paint programs write it
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
}

int rowStride(int width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

// Pixel rows bottom-up, each padded to four bytes.
void putPixels(Bytes& out, const Canvas& image, int bits) {
    const int stride = rowStride(image.width(), bits);
    for (int y = image.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < image.width(); ++x) {
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

Bytes encodeBmp(const Canvas& image, BmpDepth depth) {
    const int bits = depth == BmpDepth::Rgba32 ? 32 : 24;
    const std::uint32_t imageSize = u32(rowStride(image.width(), bits) * image.height());
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 14 + 40 + imageSize);
    put32(out, 0);
    put32(out, 14 + 40);
    putInfoHeader(out, image.width(), image.height(), bits, imageSize);
    putPixels(out, image, bits);
    return out;
}

namespace {

// One icon image: header with double height, 32-bit pixels, then the 1-bit AND mask,
// set where the pixel is (mostly) transparent so alpha-blind systems leave it out too.
Bytes iconImage(const Canvas& image) {
    const int w = image.width(), h = image.height();
    const int maskStride = rowStride(w, 1);
    const std::uint32_t size = u32(rowStride(w, 32) * h + maskStride * h);
    Bytes out;
    putInfoHeader(out, w, h * 2, 32, size);
    putPixels(out, image, 32);
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

Bytes encodeIco(const std::vector<Canvas>& images) {
    Bytes out;
    put16(out, 0);
    put16(out, 1); // icon, not cursor
    put16(out, u32(static_cast<int>(images.size())));
    std::vector<Bytes> bodies;
    for (const Canvas& image : images)
        bodies.push_back(iconImage(image));
    std::uint32_t offset = u32(6 + 16 * static_cast<int>(images.size()));
    for (std::size_t n = 0; n < images.size(); ++n) {
        // 0 stands for 256 in the one-byte size fields.
        out.push_back(static_cast<std::uint8_t>(images[n].width() & 0xFF));
        out.push_back(static_cast<std::uint8_t>(images[n].height() & 0xFF));
        out.push_back(0); // no palette
        out.push_back(0);
        put16(out, 1);  // planes
        put16(out, 32); // bits per pixel
        put32(out, u32(static_cast<int>(bodies[n].size())));
        put32(out, offset);
        offset += u32(static_cast<int>(bodies[n].size()));
    }
    for (const Bytes& body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    f.close();
    return static_cast<bool>(f);
}

bool writeFile(const std::string& path, const std::string& text) {
    return writeFile(path, Bytes(text.begin(), text.end()));
}

} // namespace skingen
