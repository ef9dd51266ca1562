// A small RGBA pixel canvas for drawing the artwork: exact rectangles, anti-aliased shapes
// given as signed distance functions, gradients, and the copy/scale operations the
// generator and its contact sheet need. Colours are straight (not premultiplied) 8-bit RGBA.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace skingen {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// 0xRRGGBB, opaque.
constexpr Rgba rgb(std::uint32_t hex) {
    return {static_cast<std::uint8_t>(hex >> 16), static_cast<std::uint8_t>(hex >> 8),
            static_cast<std::uint8_t>(hex), 255};
}
Rgba withAlpha(Rgba c, double alpha);
// Linear mix: t = 0 gives a, t = 1 gives b (alpha mixed too).
Rgba mix(Rgba a, Rgba b, double t);
Rgba lighten(Rgba c, double t); // towards white
Rgba darken(Rgba c, double t);  // towards black

// Signed distance from a point to a shape's outline: negative inside, in pixels.
using Shape = std::function<double(double x, double y)>;
// The colour of a shape at a point (gradients); a plain colour converts to it.
using Paint = std::function<Rgba(double x, double y)>;

Paint solid(Rgba c);
// A vertical gradient through stops (y in pixels, colour), sorted by y; the first and
// last colour continue beyond their stops.
struct GradientStop {
    double at;
    Rgba colour;
};
Paint verticalGradient(std::vector<GradientStop> stops);

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, Rgba fill = {0, 0, 0, 0});

    int width() const { return width_; }
    int height() const { return height_; }
    Rgba& at(int x, int y);
    const Rgba& at(int x, int y) const;
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Source-over of colour c with the given coverage (0..1); outside points are ignored.
    void blend(int x, int y, Rgba c, double coverage = 1.0);
    // Exact, unblended fill of the pixels [left, right) x [top, bottom).
    void fillRect(int left, int top, int right, int bottom, Rgba c);
    // Anti-aliased fill: a pixel is covered by how far its centre lies inside the shape.
    void fill(const Shape& shape, const Paint& paint);
    void fill(const Shape& shape, Rgba c) { fill(shape, solid(c)); }
    // Every pixel of a row [top, bottom) replaced by the paint at its centre.
    void paintRows(int top, int bottom, const Paint& paint);

    // Source-over of another canvas with its top-left corner at (x, y).
    void draw(const Canvas& src, int x, int y);
    // Plain copy (alpha included) with its top-left corner at (x, y).
    void copy(const Canvas& src, int x, int y);
    Canvas crop(int x, int y, int width, int height) const;
    // Nearest-neighbour resize, as a window system stretches a bitmap.
    Canvas resized(int width, int height) const;
    Canvas enlarged(int factor) const { return resized(width_ * factor, height_ * factor); }
    // Flattened onto an opaque background colour.
    Canvas over(Rgba background) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgba> pixels_;
};

} // namespace skingen
