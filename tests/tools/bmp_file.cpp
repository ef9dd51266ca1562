#include "bmp_file.h"

#include <fstream>
#include <iterator>

namespace nestora::testing {

namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b.at(at)) | static_cast<std::uint32_t>(b.at(at + 1)) << 8 |
           static_cast<std::uint32_t>(b.at(at + 2)) << 16 |
           static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

bool fail(std::string* error, const std::string& why) {
    if (error)
        *error = why;
    return false;
}

// Pixels of a BITMAPINFOHEADER DIB at `header`, bottom-up rows starting at `bits`.
bool readDib(const std::vector<std::uint8_t>& b, std::size_t header, std::size_t bits, int rows,
             Picture& out, std::string* error) {
    if (le32(b, header) != 40)
        return fail(error, "not a BITMAPINFOHEADER");
    const auto width = static_cast<std::int32_t>(le32(b, header + 4));
    const auto height = static_cast<std::int32_t>(le32(b, header + 8));
    const int depth = le16(b, header + 14);
    if (width <= 0 || height <= 0)
        return fail(error, "not a bottom-up bitmap with a positive size");
    if (le16(b, header + 12) != 1 || le32(b, header + 16) != 0)
        return fail(error, "planes must be 1 and compression BI_RGB");
    if (depth != 24 && depth != 32)
        return fail(error, "depth " + std::to_string(depth));
    out.width = width;
    out.height = rows > 0 ? rows : height;
    out.bitsPerPixel = depth;
    const std::size_t stride = ((static_cast<std::size_t>(width) * depth + 31) / 32) * 4;
    if (bits + stride * static_cast<std::size_t>(out.height) > b.size())
        return fail(error, "pixel data runs past the end");
    out.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(out.height), {});
    for (int y = 0; y < out.height; ++y) {
        const std::size_t row = bits + stride * static_cast<std::size_t>(out.height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::size_t p = row + static_cast<std::size_t>(x) * (depth / 8);
            Pixel& px = out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                   static_cast<std::size_t>(x)];
            px = {b[p + 2], b[p + 1], b[p], depth == 32 ? b[p + 3] : std::uint8_t{255}};
        }
    }
    return true;
}

} // namespace

std::vector<std::uint8_t> readFileBytes(const std::filesystem::path& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::optional<Picture> decodeBmp(const std::vector<std::uint8_t>& bytes, std::string* error) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        fail(error, "no BMP file header");
        return std::nullopt;
    }
    if (le32(bytes, 2) != bytes.size()) {
        fail(error, "the size in the header is not the file's size");
        return std::nullopt;
    }
    Picture p;
    if (!readDib(bytes, 14, le32(bytes, 10), 0, p, error))
        return std::nullopt;
    return p;
}

std::optional<std::vector<Picture>> decodeIco(const std::vector<std::uint8_t>& bytes,
                                              std::string* error) {
    if (bytes.size() < 6 || le16(bytes, 0) != 0 || le16(bytes, 2) != 1) {
        fail(error, "no icon directory");
        return std::nullopt;
    }
    std::vector<Picture> images;
    const int count = le16(bytes, 4);
    for (int i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
        if (entry + 16 > bytes.size()) {
            fail(error, "icon directory runs past the end");
            return std::nullopt;
        }
        const std::size_t offset = le32(bytes, entry + 12);
        if (offset + 40 > bytes.size()) {
            fail(error, "icon image runs past the end");
            return std::nullopt;
        }
        // The stored height counts the colour rows and the mask rows.
        const int rows = static_cast<int>(le32(bytes, offset + 8)) / 2;
        Picture p;
        if (!readDib(bytes, offset, offset + 40, rows, p, error))
            return std::nullopt;
        images.push_back(std::move(p));
    }
    return images;
}

} // namespace nestora::testing
