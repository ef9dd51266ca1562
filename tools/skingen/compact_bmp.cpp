#include "compact_bmp.h"

#include <algorithm>
#include <cstddef>
#include <map>

namespace nestora::skingen {

namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2;

std::uint32_t Key(const Rgba& p) {
    return std::uint32_t{p.r} << 16 | std::uint32_t{p.g} << 8 | p.b;
}

// The picture as indices into its colours, numbered in the order they first appear (so
// the same picture always gives the same file).
struct Indexed {
    int width = 0, height = 0;
    std::vector<Rgba> colours;
    std::vector<std::uint8_t> indices; // top-down
    std::uint8_t at(int x, int y) const {
        return indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x)];
    }
};

// Nothing when the picture has more than 256 colours.
bool IndexColours(const Canvas& image, Indexed& out) {
    std::map<std::uint32_t, std::uint8_t> seen;
    out.width = image.Width();
    out.height = image.Height();
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const Rgba& p = image.at(x, y);
            auto [it, added] = seen.emplace(Key(p), static_cast<std::uint8_t>(seen.size()));
            if (added) {
                if (out.colours.size() == 256)
                    return false;
                out.colours.push_back(p);
            }
            out.indices.push_back(it->second);
        }
    return true;
}

// Uncompressed rows, bottom-up, each padded to four bytes.
Bytes RawPixels(const Indexed& image, int bits) {
    const int stride = ((image.width * bits + 31) / 32) * 4;
    Bytes out;
    for (int y = image.height - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < image.width; ++x) {
            const int bit = x * bits;
            row[static_cast<std::size_t>(bit / 8)] |=
                static_cast<std::uint8_t>(image.at(x, y) << (8 - bits - bit % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// BI_RLE8 (bits 8) or BI_RLE4 (bits 4): rows bottom-up, each a sequence of runs of one
// index (count, index) and literal stretches (0, count >= 3, the indices, padded to a
// 16-bit boundary), then end of line (0, 0); end of bitmap (0, 1) after the last.
Bytes RunLengthPixels(const Indexed& image, int bits) {
    Bytes out;
    const auto runFrom = [&](int x, int y) {
        int n = 1;
        while (x + n < image.width && n < 255 && image.at(x + n, y) == image.at(x, y))
            ++n;
        return n;
    };
    const auto runByte = [&](std::uint8_t index) {
        return bits == 8 ? index : static_cast<std::uint8_t>(index << 4 | index);
    };
    for (int y = image.height - 1; y >= 0; --y) {
        int x = 0;
        while (x < image.width) {
            const int run = runFrom(x, y);
            if (run >= 3) {
                out.push_back(static_cast<std::uint8_t>(run));
                out.push_back(runByte(image.at(x, y)));
                x += run;
                continue;
            }
            // A literal stretch up to the next run worth encoding as one.
            int end = x;
            while (end < image.width && end - x < 255 && runFrom(end, y) < 3)
                end += runFrom(end, y);
            end = std::min(end, x + 255);
            const int count = end - x;
            if (count < 3) { // too short for a literal: single runs
                for (; x < end; ++x) {
                    out.push_back(1);
                    out.push_back(runByte(image.at(x, y)));
                }
                continue;
            }
            out.push_back(0);
            out.push_back(static_cast<std::uint8_t>(count));
            const std::size_t start = out.size();
            if (bits == 8) {
                for (int i = x; i < end; ++i)
                    out.push_back(image.at(i, y));
            } else {
                for (int i = x; i < end; i += 2)
                    out.push_back(static_cast<std::uint8_t>(
                        image.at(i, y) << 4 | (i + 1 < end ? image.at(i + 1, y) : 0)));
            }
            if ((out.size() - start) % 2)
                out.push_back(0);
            x = end;
        }
        out.push_back(0);
        out.push_back(y == 0 ? 1 : 0);
    }
    return out;
}

Bytes File(const Indexed& image, int bits, std::uint32_t compression, const Bytes& pixels) {
    const auto colours = static_cast<std::uint32_t>(image.colours.size());
    const std::uint32_t offset = 14 + 40 + colours * 4;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + static_cast<std::uint32_t>(pixels.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(image.width));
    Put32(out, static_cast<std::uint32_t>(image.height)); // bottom-up: RLE must be
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bits));
    Put32(out, compression);
    Put32(out, static_cast<std::uint32_t>(pixels.size()));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, colours); // only the colours used
    Put32(out, 0);
    for (const Rgba& c : image.colours) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

} // namespace

Bytes EncodeCompactBmp(const Canvas& image) {
    Indexed indexed;
    if (!IndexColours(image, indexed))
        return EncodeBmp(image, BmpDepth::Rgb24);
    const std::size_t colours = indexed.colours.size();
    const int bits = colours <= 2 ? 1 : colours <= 16 ? 4 : 8;
    Bytes best = File(indexed, bits, kBiRgb, RawPixels(indexed, bits));
    const auto consider = [&](Bytes candidate) {
        if (candidate.size() < best.size())
            best = std::move(candidate);
    };
    if (colours <= 16)
        consider(File(indexed, 4, kBiRle4, RunLengthPixels(indexed, 4)));
    consider(File(indexed, 8, kBiRle8, RunLengthPixels(indexed, 8)));
    // A palette never pays for itself over true colour on a tiny picture of many colours.
    Bytes trueColour = EncodeBmp(image, BmpDepth::Rgb24);
    consider(std::move(trueColour));
    return best;
}

} // namespace nestora::skingen
