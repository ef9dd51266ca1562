// A small RGBA pixel canvas for drawing the artwork: exact rectangles, anti-aliased shapes
// given as signed distance functions, gradients, and the copy/scale operations the
// generator and its contact sheet need. Colours are straight (not premultiplied) 8-bit RGBA.
//
// A canvas draws in units of `scale` pixels each way, so one drawing makes the picture at
// 1x and, on a canvas of scale 2, at twice the size: a shape is sampled at every pixel of
// the larger canvas (its edges stay as sharp, its one-unit lines two pixels wide), never
// enlarged from the small picture. Sizes, shapes, rectangles and the offsets of Draw and
// copy are in units; at(), Width() and Height() are in pixels. At scale 1 a unit is a
// pixel and every operation is the plain pixel operation.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace nestora::skingen {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// 0xRRGGBB, opaque.
constexpr Rgba Rgb(std::uint32_t hex) {
    return {static_cast<std::uint8_t>(hex >> 16), static_cast<std::uint8_t>(hex >> 8),
            static_cast<std::uint8_t>(hex), 255};
}
Rgba WithAlpha(Rgba c, double alpha);
// Linear mix: t = 0 gives a, t = 1 gives b (alpha mixed too).
Rgba Mix(Rgba a, Rgba b, double t);
Rgba Lighten(Rgba c, double t); // towards white
Rgba Darken(Rgba c, double t);  // towards black

// Signed distance from a point to a shape's outline: negative inside, in pixels.
using Shape = std::function<double(double x, double y)>;
// The colour of a shape at a point (gradients); a plain colour converts to it.
using Paint = std::function<Rgba(double x, double y)>;

Paint Solid(Rgba c);
// A vertical gradient through stops (y in pixels, colour), sorted by y; the first and
// last colour continue beyond their stops.
struct GradientStop {
    double at;
    Rgba colour;
};
Paint VerticalGradient(std::vector<GradientStop> stops);

class Canvas {
public:
    Canvas() = default;
    // width by height units, each scale by scale pixels.
    Canvas(int width, int height, Rgba fill = {0, 0, 0, 0}, int scale = 1);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Scale() const { return scale_; }
    int UnitWidth() const { return width_ / scale_; }
    int UnitHeight() const { return height_ / scale_; }
    // The first pixel of a unit.
    const Rgba& UnitAt(int x, int y) const { return at(x * scale_, y * scale_); }
    Rgba& at(int x, int y);
    const Rgba& at(int x, int y) const;
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Source-over of colour c with the given coverage (0..1); outside points are ignored.
    void Blend(int x, int y, Rgba c, double coverage = 1.0);
    // Exact, unblended fill of the units [left, right) x [top, bottom).
    void FillRect(int left, int top, int right, int bottom, Rgba c);
    // Every pixel of the units [left, right) x [top, bottom) mixed towards c by t.
    void MixRect(int left, int top, int right, int bottom, Rgba c, double t);
    // Anti-aliased fill: a pixel is covered by how far its centre lies inside the shape.
    void fill(const Shape& shape, const Paint& paint);
    void fill(const Shape& shape, Rgba c) { fill(shape, Solid(c)); }
    // Every pixel of the unit rows [top, bottom) replaced by the paint at its centre.
    void PaintRows(int top, int bottom, const Paint& paint);

    // Source-over of another canvas's pixels with its top-left corner at unit (x, y).
    void Draw(const Canvas& src, int x, int y);
    // Plain copy (alpha included) of its pixels with its top-left corner at unit (x, y).
    void copy(const Canvas& src, int x, int y);
    // In pixels; the result has scale 1, as have Resized and Enlarged.
    Canvas Crop(int x, int y, int width, int height) const;
    // Nearest-neighbour resize, as a window system stretches a bitmap.
    Canvas Resized(int width, int height) const;
    Canvas Enlarged(int factor) const { return Resized(width_ * factor, height_ * factor); }
    // Flattened onto an opaque background colour.
    Canvas Over(Rgba background) const;

private:
    int width_ = 0;
    int height_ = 0;
    int scale_ = 1;
    std::vector<Rgba> pixels_;
};

} // namespace nestora::skingen
