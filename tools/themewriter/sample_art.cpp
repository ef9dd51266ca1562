// themeart: draws the pictures of the sample theme ("green"), so that the theme shipped in
// resources/themes is made from code like the rest of the artwork and can be rebuilt and
// compared byte for byte.
//
// Usage: themeart <output folder>
// Writes green_titlebtn.bmp (18 cells of 19 x 19), green_title_left.bmp (40 x 27),
// green_title_client.bmp (8 x 27) and green_title_right.bmp (40 x 27): 24-bit bottom-up
// BMP files with a BITMAPINFOHEADER.
//
// The title bar is 27 pixels high and its buttons stand 4 pixels from its top, so each
// button cell is painted over the very rows of the bar it covers: the theme can draw its
// buttons opaque (TitleBarButtonTransparentBool false) without a seam.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
    int r = 0, g = 0, b = 0;
};

Rgb Mix(Rgb a, Rgb b, int num, int den) {
    auto m = [&](int x, int y) { return x + (y - x) * num / den; };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

class Picture {
public:
    Picture(int width, int height) : w_(width), h_(height), px_(width * height) {}
    int Width() const { return w_; }
    int Height() const { return h_; }
    void Set(int x, int y, Rgb c) {
        if (x >= 0 && y >= 0 && x < w_ && y < h_)
            px_[y * w_ + x] = c;
    }
    Rgb Get(int x, int y) const { return px_[y * w_ + x]; }

    // 24-bit, bottom-up, rows padded to four bytes.
    std::vector<std::uint8_t> ToBmp() const {
        const int stride = (w_ * 3 + 3) / 4 * 4;
        const std::uint32_t pixelsAt = 14 + 40;
        const std::uint32_t imageSize = static_cast<std::uint32_t>(stride * h_);
        std::vector<std::uint8_t> out;
        auto u16 = [&](unsigned v) {
            out.push_back(v & 0xFF);
            out.push_back((v >> 8) & 0xFF);
        };
        auto u32 = [&](std::uint32_t v) {
            u16(v & 0xFFFF);
            u16(v >> 16);
        };
        out.push_back('B');
        out.push_back('M');
        u32(pixelsAt + imageSize);
        u32(0);
        u32(pixelsAt);
        u32(40);
        u32(static_cast<std::uint32_t>(w_));
        u32(static_cast<std::uint32_t>(h_));
        u16(1);
        u16(24);
        u32(0); // BI_RGB
        u32(imageSize);
        u32(2835); // 72 dots per inch
        u32(2835);
        u32(0);
        u32(0);
        for (int y = h_ - 1; y >= 0; --y) {
            for (int x = 0; x < w_; ++x) {
                const Rgb c = Get(x, y);
                out.push_back(static_cast<std::uint8_t>(c.b));
                out.push_back(static_cast<std::uint8_t>(c.g));
                out.push_back(static_cast<std::uint8_t>(c.r));
            }
            for (int pad = w_ * 3; pad < stride; ++pad)
                out.push_back(0);
        }
        return out;
    }

private:
    int w_, h_;
    std::vector<Rgb> px_;
};

constexpr int kBarHeight = 27;
constexpr int kCell = 19;
constexpr int kButtonTop = 4; // must match TitleBarButtonTopInt in sample.list

// The bar's colour at row y: a light rim, a green gradient, a dark bottom line.
Rgb BarColor(int y) {
    const Rgb rim{0xA8, 0xDC, 0xA0}, top{0x5E, 0xAE, 0x5C}, bottom{0x2A, 0x6E, 0x30},
        line{0x1A, 0x4A, 0x20};
    if (y == 0)
        return rim;
    if (y == kBarHeight - 1)
        return line;
    return Mix(top, bottom, y - 1, kBarHeight - 3);
}

Picture BarSection(int width, bool leftEdge, bool rightEdge) {
    Picture p(width, kBarHeight);
    const Rgb edge{0x1A, 0x4A, 0x20};
    for (int y = 0; y < kBarHeight; ++y) {
        for (int x = 0; x < width; ++x)
            p.Set(x, y, BarColor(y));
        if (leftEdge) {
            p.Set(0, y, edge);
            p.Set(1, y, Mix(BarColor(y), Rgb{0xFF, 0xFF, 0xFF}, 1, 4));
        }
        if (rightEdge) {
            p.Set(width - 1, y, edge);
            p.Set(width - 2, y, Mix(BarColor(y), edge, 1, 3));
        }
    }
    return p;
}

// Glyphs on a 9 x 9 grid, in the order of the strip: control box, help, maximise, restore,
// minimise, close.
using Glyph = std::array<const char*, 9>;
// clang-format off
constexpr std::array<Glyph, 6> kGlyphs = {{
    {   // control box
        "         ",
        " ####### ",
        " ####### ",
        " #     # ",
        " #  #  # ",
        " # ### # ",
        " #     # ",
        " ####### ",
        "         ",
    },
    {   // help
        "  #####  ",
        " ##   ## ",
        "      ## ",
        "     ##  ",
        "   ###   ",
        "   ##    ",
        "         ",
        "   ##    ",
        "   ##    ",
    },
    {   // maximise
        "#########",
        "#########",
        "#       #",
        "#       #",
        "#       #",
        "#       #",
        "#       #",
        "#########",
        "         ",
    },
    {   // restore
        "   ######",
        "   ######",
        "   #    #",
        "######  #",
        "######  #",
        "#    ####",
        "#    #   ",
        "######   ",
        "         ",
    },
    {   // minimise
        "         ",
        "         ",
        "         ",
        "         ",
        "         ",
        "         ",
        "#########",
        "#########",
        "         ",
    },
    {   // close
        "##     ##",
        "###   ###",
        " ### ### ",
        "  #####  ",
        "   ###   ",
        "  #####  ",
        " ### ### ",
        "###   ###",
        "##     ##",
    },
}};
// clang-format on

enum class State { Normal, Hover, Pressed };

void DrawButton(Picture& strip, int cellIndex, const Glyph& glyph, State state) {
    const int left = cellIndex * kCell;
    const Rgb white{0xFF, 0xFF, 0xFF}, dark{0x14, 0x3C, 0x18};
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x)
            strip.Set(left + x, y, BarColor(y + kButtonTop));
    }
    // A rounded face one pixel inside the cell.
    Rgb faceTop{0x6E, 0xBE, 0x6A}, faceBottom{0x34, 0x80, 0x38}, rim{0x1E, 0x52, 0x24};
    if (state == State::Hover) {
        faceTop = {0x96, 0xDE, 0x8C};
        faceBottom = {0x48, 0x9E, 0x4A};
        rim = {0xE8, 0xFF, 0xE0};
    } else if (state == State::Pressed) {
        faceTop = {0x24, 0x5E, 0x28};
        faceBottom = {0x3A, 0x84, 0x3C};
        rim = {0x10, 0x30, 0x14};
    }
    for (int y = 1; y < kCell - 1; ++y) {
        for (int x = 1; x < kCell - 1; ++x) {
            const bool edgeX = x == 1 || x == kCell - 2, edgeY = y == 1 || y == kCell - 2;
            if (edgeX && edgeY)
                continue; // rounded corners: the bar shows through
            strip.Set(left + x, y, edgeX || edgeY ? rim : Mix(faceTop, faceBottom, y, kCell));
        }
    }
    // The glyph, with a dark shadow under it; pressed buttons sink by one pixel.
    const int shift = state == State::Pressed ? 1 : 0;
    const int gx = left + (kCell - 9) / 2 + shift, gy = (kCell - 9) / 2 + shift;
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 9; ++x) {
                if (glyph[y][x] != '#')
                    continue;
                if (pass == 0)
                    strip.Set(gx + x + 1, gy + y + 1,
                              Mix(strip.Get(gx + x + 1, gy + y + 1), dark, 1, 2));
                else
                    strip.Set(gx + x, gy + y, white);
            }
        }
    }
}

Picture ButtonStrip() {
    Picture strip(18 * kCell, kCell);
    for (int g = 0; g < 6; ++g) {
        DrawButton(strip, g * 3, kGlyphs[g], State::Normal);
        DrawButton(strip, g * 3 + 1, kGlyphs[g], State::Hover);
        DrawButton(strip, g * 3 + 2, kGlyphs[g], State::Pressed);
    }
    return strip;
}

bool Save(const std::filesystem::path& path, const Picture& picture) {
    const auto bytes = picture.ToBmp();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        std::fprintf(stderr, "themeart: cannot write %s\n", path.string().c_str());
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: themeart <output folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const bool ok = Save(folder / "green_titlebtn.bmp", ButtonStrip()) &&
                    Save(folder / "green_title_left.bmp", BarSection(40, true, false)) &&
                    Save(folder / "green_title_client.bmp", BarSection(8, false, false)) &&
                    Save(folder / "green_title_right.bmp", BarSection(40, false, true));
    return ok ? 0 : 1;
}
