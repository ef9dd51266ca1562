#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace nestora::skingen {

namespace {

std::uint8_t Channel(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

} // namespace

Rgba WithAlpha(Rgba c, double alpha) {
    c.a = Channel(alpha * 255.0);
    return c;
}

Rgba Mix(Rgba a, Rgba b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto m = [t](std::uint8_t x, std::uint8_t y) { return Channel(x + (y - x) * t); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

Rgba Lighten(Rgba c, double t) {
    return Mix(c, {255, 255, 255, c.a}, t);
}
Rgba Darken(Rgba c, double t) {
    return Mix(c, {0, 0, 0, c.a}, t);
}

Paint Solid(Rgba c) {
    return [c](double, double) { return c; };
}

Paint VerticalGradient(std::vector<GradientStop> stops) {
    return [stops = std::move(stops)](double, double y) {
        if (y <= stops.front().at)
            return stops.front().colour;
        for (std::size_t i = 1; i < stops.size(); ++i)
            if (y <= stops[i].at) {
                const double span = stops[i].at - stops[i - 1].at;
                const double t = span > 0 ? (y - stops[i - 1].at) / span : 1.0;
                return Mix(stops[i - 1].colour, stops[i].colour, t);
            }
        return stops.back().colour;
    };
}

Canvas::Canvas(int width, int height, Rgba fill, int scale)
    : width_(width * scale), height_(height * scale), scale_(scale),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

Rgba& Canvas::at(int x, int y) {
    return pixels_.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                      static_cast<std::size_t>(x));
}

const Rgba& Canvas::at(int x, int y) const {
    return pixels_.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                      static_cast<std::size_t>(x));
}

void Canvas::Blend(int x, int y, Rgba c, double coverage) {
    if (!contains(x, y) || coverage <= 0.0)
        return;
    Rgba& d = at(x, y);
    const double sa = c.a / 255.0 * std::min(coverage, 1.0);
    const double da = d.a / 255.0;
    const double oa = sa + da * (1.0 - sa);
    if (oa <= 0.0) {
        d = {0, 0, 0, 0};
        return;
    }
    auto m = [&](std::uint8_t s, std::uint8_t t) {
        return Channel((s * sa + t * da * (1.0 - sa)) / oa);
    };
    d = {m(c.r, d.r), m(c.g, d.g), m(c.b, d.b), Channel(oa * 255.0)};
}

void Canvas::FillRect(int left, int top, int right, int bottom, Rgba c) {
    MixRect(left, top, right, bottom, c, 1.0);
}

void Canvas::MixRect(int left, int top, int right, int bottom, Rgba c, double t) {
    const int s = scale_;
    for (int y = std::max(top * s, 0); y < std::min(bottom * s, height_); ++y)
        for (int x = std::max(left * s, 0); x < std::min(right * s, width_); ++x)
            at(x, y) = t >= 1.0 ? c : Mix(at(x, y), c, t);
}

void Canvas::fill(const Shape& shape, const Paint& paint) {
    // Sampled at each pixel's centre in units; the distance back in pixels, so an edge is
    // one pixel soft at any scale. At scale 1 both steps leave the numbers exactly as they are.
    const double s = scale_;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const double cx = (x + 0.5) / s, cy = (y + 0.5) / s;
            const double coverage = std::clamp(0.5 - shape(cx, cy) * s, 0.0, 1.0);
            if (coverage > 0.0)
                Blend(x, y, paint(cx, cy), coverage);
        }
}

void Canvas::PaintRows(int top, int bottom, const Paint& paint) {
    const double s = scale_;
    for (int y = std::max(top * scale_, 0); y < std::min(bottom * scale_, height_); ++y)
        for (int x = 0; x < width_; ++x)
            at(x, y) = paint((x + 0.5) / s, (y + 0.5) / s);
}

void Canvas::Draw(const Canvas& src, int x, int y) {
    x *= scale_;
    y *= scale_;
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx)
            Blend(x + sx, y + sy, src.at(sx, sy));
}

void Canvas::copy(const Canvas& src, int x, int y) {
    x *= scale_;
    y *= scale_;
    for (int sy = 0; sy < src.Height(); ++sy)
        for (int sx = 0; sx < src.Width(); ++sx)
            if (contains(x + sx, y + sy))
                at(x + sx, y + sy) = src.at(sx, sy);
}

Canvas Canvas::Crop(int x, int y, int width, int height) const {
    Canvas out(width, height);
    for (int sy = 0; sy < height; ++sy)
        for (int sx = 0; sx < width; ++sx)
            if (contains(x + sx, y + sy))
                out.at(sx, sy) = at(x + sx, y + sy);
    return out;
}

Canvas Canvas::Resized(int width, int height) const {
    Canvas out(width, height);
    if (width_ == 0 || height_ == 0)
        return out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.at(x, y) = at(x * width_ / width, y * height_ / height);
    return out;
}

Canvas Canvas::Over(Rgba background) const {
    background.a = 255;
    Canvas out(width_, height_, background);
    out.Draw(*this, 0, 0);
    return out;
}

} // namespace nestora::skingen
