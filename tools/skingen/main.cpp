// skingen: the generator of Nestora's artwork. It draws every picture from code so the
// artwork is reviewable, changeable and byte-for-byte reproducible; the build embeds
// what it writes.
//
// Usage: skingen <output folder>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

class Image {
public:
    Image(int w, int h) : w_(w), h_(h), px_(static_cast<std::size_t>(w * h)) {}
    int width() const { return w_; }
    int height() const { return h_; }
    Rgba& at(int x, int y) { return px_[static_cast<std::size_t>(y * w_ + x)]; }
    const Rgba& at(int x, int y) const { return px_[static_cast<std::size_t>(y * w_ + x)]; }

    // Source-over blend of colour c with coverage (0..1).
    void blend(int x, int y, Rgba c, double coverage) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || coverage <= 0)
            return;
        coverage = std::min(coverage, 1.0);
        Rgba& d = at(x, y);
        const double sa = c.a / 255.0 * coverage;
        const double da = d.a / 255.0;
        const double oa = sa + da * (1 - sa);
        if (oa <= 0) {
            d = {};
            return;
        }
        auto mix = [&](std::uint8_t s, std::uint8_t t) {
            return static_cast<std::uint8_t>(
                std::lround((s * sa + t * da * (1 - sa)) / oa));
        };
        d = {mix(c.r, d.r), mix(c.g, d.g), mix(c.b, d.b),
             static_cast<std::uint8_t>(std::lround(oa * 255))};
    }

private:
    int w_, h_;
    std::vector<Rgba> px_;
};

// Coverage of a pixel by an axis-aligned box, with 4x4 supersampling.
template <typename Inside> double coverage(int x, int y, Inside inside) {
    int hits = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
            if (inside(x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0))
                ++hits;
    return hits / 16.0;
}

template <typename Inside> void fillShape(Image& img, Rgba c, Inside inside) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.blend(x, y, c, coverage(x, y, inside));
}

double distToSegment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double qx = ax + t * dx - px, qy = ay + t * dy - py;
    return std::sqrt(qx * qx + qy * qy);
}

// A yellow folder with a red tick, scaled to an s by s square.
Image drawFolderWithTick(int s) {
    Image img(s, s);
    const double k = s / 16.0;
    const Rgba edge{150, 110, 10, 255}, back{235, 180, 40, 255}, front{255, 214, 72, 255};
    auto box = [](double l, double t, double r, double b) {
        return [=](double x, double y) { return x >= l && x < r && y >= t && y < b; };
    };
    fillShape(img, edge, box(0.5 * k, 2.5 * k, 6.5 * k, 4.5 * k));      // tab
    fillShape(img, edge, box(0.5 * k, 3.5 * k, 15.5 * k, 14.5 * k));    // back outline
    fillShape(img, back, box(1.5 * k, 4.5 * k, 14.5 * k, 13.5 * k));    // back
    fillShape(img, edge, box(0.5 * k, 6.5 * k, 15.5 * k, 14.5 * k));    // front outline
    fillShape(img, front, box(1.5 * k, 7.5 * k, 14.5 * k, 13.5 * k));   // front
    const Rgba red{210, 20, 20, 255};
    const double w = std::max(1.2, 1.6 * k);
    fillShape(img, red, [&](double x, double y) {
        return distToSegment(x, y, 6 * k, 9.5 * k, 8.5 * k, 12 * k) < w ||
               distToSegment(x, y, 8.5 * k, 12 * k, 14.5 * k, 4 * k) < w;
    });
    return img;
}

void put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void put32(std::vector<std::uint8_t>& out, unsigned v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// The DIB of one icon image: BITMAPINFOHEADER (double height), 32-bit BGRA bottom-up,
// then the 1-bit AND mask (all zero: the alpha channel decides).
std::vector<std::uint8_t> iconDib(const Image& img) {
    std::vector<std::uint8_t> d;
    const int w = img.width(), h = img.height();
    put32(d, 40);
    put32(d, static_cast<unsigned>(w));
    put32(d, static_cast<unsigned>(h * 2));
    put16(d, 1);
    put16(d, 32);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    put32(d, 0);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Rgba& p = img.at(x, y);
            d.push_back(p.b);
            d.push_back(p.g);
            d.push_back(p.r);
            d.push_back(p.a);
        }
    const int maskStride = ((w + 31) / 32) * 4;
    d.insert(d.end(), static_cast<std::size_t>(maskStride * h), 0);
    return d;
}

std::vector<std::uint8_t> icoFile(const std::vector<Image>& images) {
    std::vector<std::uint8_t> out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<unsigned>(images.size()));
    std::vector<std::vector<std::uint8_t>> dibs;
    for (const Image& i : images)
        dibs.push_back(iconDib(i));
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (std::size_t n = 0; n < images.size(); ++n) {
        out.push_back(static_cast<std::uint8_t>(images[n].width() & 0xFF));
        out.push_back(static_cast<std::uint8_t>(images[n].height() & 0xFF));
        out.push_back(0);
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<unsigned>(dibs[n].size()));
        put32(out, offset);
        offset += static_cast<unsigned>(dibs[n].size());
    }
    for (const auto& d : dibs)
        out.insert(out.end(), d.begin(), d.end());
    return out;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen <output folder>\n");
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = writeFile(dir + "/nestora.ico",
                        icoFile({drawFolderWithTick(16), drawFolderWithTick(32),
                                 drawFolderWithTick(48)}));
    ok = ok && writeFile(dir + "/tray.ico", icoFile({drawFolderWithTick(16)}));
    if (!ok) {
        std::fprintf(stderr, "skingen: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
