#include "bmp_file.h"

#include <fstream>
#include <iterator>

namespace nestora::testing {

namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b.at(at)) | static_cast<std::uint32_t>(b.at(at + 1)) << 8 |
           static_cast<std::uint32_t>(b.at(at + 2)) << 16 |
           static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

bool Fail(std::string* error, const std::string& why) {
    if (error)
        *error = why;
    return false;
}

// Pixels of a BITMAPINFOHEADER DIB at `header`, bottom-up rows starting at `bits`.
bool ReadDib(const std::vector<std::uint8_t>& b, std::size_t header, std::size_t bits, int rows,
             Picture& out, std::string* error) {
    if (Le32(b, header) != 40)
        return Fail(error, "not a BITMAPINFOHEADER");
    const auto width = static_cast<std::int32_t>(Le32(b, header + 4));
    const auto height = static_cast<std::int32_t>(Le32(b, header + 8));
    const int depth = Le16(b, header + 14);
    if (width <= 0 || height <= 0)
        return Fail(error, "not a bottom-up bitmap with a positive size");
    if (Le16(b, header + 12) != 1 || Le32(b, header + 16) != 0)
        return Fail(error, "planes must be 1 and compression BI_RGB");
    if (depth != 24 && depth != 32)
        return Fail(error, "depth " + std::to_string(depth));
    out.width = width;
    out.height = rows > 0 ? rows : height;
    out.bitsPerPixel = depth;
    const std::size_t stride = ((static_cast<std::size_t>(width) * depth + 31) / 32) * 4;
    if (bits + stride * static_cast<std::size_t>(out.height) > b.size())
        return Fail(error, "pixel data runs past the end");
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

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::optional<Picture> DecodeBmp(const std::vector<std::uint8_t>& bytes, std::string* error) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        Fail(error, "no BMP file header");
        return std::nullopt;
    }
    if (Le32(bytes, 2) != bytes.size()) {
        Fail(error, "the size in the header is not the file's size");
        return std::nullopt;
    }
    Picture p;
    if (!ReadDib(bytes, 14, Le32(bytes, 10), 0, p, error))
        return std::nullopt;
    return p;
}

std::optional<std::vector<Picture>> DecodeIco(const std::vector<std::uint8_t>& bytes,
                                              std::string* error) {
    if (bytes.size() < 6 || Le16(bytes, 0) != 0 || Le16(bytes, 2) != 1) {
        Fail(error, "no icon directory");
        return std::nullopt;
    }
    std::vector<Picture> images;
    const int count = Le16(bytes, 4);
    for (int i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
        if (entry + 16 > bytes.size()) {
            Fail(error, "icon directory runs past the end");
            return std::nullopt;
        }
        const std::size_t offset = Le32(bytes, entry + 12);
        if (offset + 40 > bytes.size()) {
            Fail(error, "icon image runs past the end");
            return std::nullopt;
        }
        // The stored height counts the colour rows and the mask rows.
        const int rows = static_cast<int>(Le32(bytes, offset + 8)) / 2;
        Picture p;
        if (!ReadDib(bytes, offset, offset + 40, rows, p, error))
            return std::nullopt;
        images.push_back(std::move(p));
    }
    return images;
}

} // namespace nestora::testing
