// A strict reader for the BMP and ICO files the artwork generator writes, for tests on
// the build host and under Windows alike: it checks the headers it relies on instead of
// guessing, and gives pixels top-down.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace nestora::testing {

struct Pixel {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

struct Picture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<Pixel> pixels; // top-down, row by row

    const Pixel& at(int x, int y) const {
        return pixels.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                         static_cast<std::size_t>(x));
    }
};

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

// A BMP file with BITMAPINFOHEADER, BI_RGB, 24 or 32 bits, stored bottom-up; nothing (and
// a reason in `error`) for anything else.
std::optional<Picture> DecodeBmp(const std::vector<std::uint8_t>& bytes, std::string* error);

// Every image of an ICO file (32-bit images only).
std::optional<std::vector<Picture>> DecodeIco(const std::vector<std::uint8_t>& bytes,
                                              std::string* error);

} // namespace nestora::testing
