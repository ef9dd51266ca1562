#include "shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace nestora::skingen {

namespace {

double length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

double DistanceToSegment(double px, double py, Vec a, Vec b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    const double t =
        len2 > 0 ? std::clamp(((px - a.x) * dx + (py - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return length(a.x + t * dx - px, a.y + t * dy - py);
}

} // namespace

Shape Circle(double cx, double cy, double radius) {
    return [=](double x, double y) { return length(x - cx, y - cy) - radius; };
}

Shape Ellipse(double cx, double cy, double rx, double ry) {
    // Scaled circle distance: exact on the axes and close enough elsewhere for the small,
    // near-round ellipses drawn here (highlights and glows).
    const double r = std::min(rx, ry);
    return [=](double x, double y) { return (length((x - cx) / rx, (y - cy) / ry) - 1.0) * r; };
}

Shape Box(double left, double top, double right, double bottom) {
    return RoundedBox(left, top, right, bottom, 0.0);
}

Shape RoundedBox(double left, double top, double right, double bottom, double radius) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
    return [=](double x, double y) {
        const double qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
        return length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
               radius;
    };
}

Shape Segment(Vec a, Vec b, double halfWidth) {
    return [=](double x, double y) { return DistanceToSegment(x, y, a, b) - halfWidth; };
}

Shape Polyline(std::vector<Vec> points, double halfWidth) {
    return [points = std::move(points), halfWidth](double x, double y) {
        double d = 1e9;
        for (std::size_t i = 1; i < points.size(); ++i)
            d = std::min(d, DistanceToSegment(x, y, points[i - 1], points[i]));
        return d - halfWidth;
    };
}

Shape Polygon(std::vector<Vec> points) {
    return [points = std::move(points)](double x, double y) {
        double d = 1e9;
        bool inside = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Vec a = points[j], b = points[i];
            d = std::min(d, DistanceToSegment(x, y, a, b));
            if ((b.y > y) != (a.y > y) && x < (a.x - b.x) * (y - b.y) / (a.y - b.y) + b.x)
                inside = !inside;
        }
        return inside ? -d : d;
    };
}

Shape Arc(Vec centre, double radius, double from, double to, double halfWidth) {
    const Vec start{centre.x + radius * std::cos(from), centre.y + radius * std::sin(from)};
    const Vec end{centre.x + radius * std::cos(to), centre.y + radius * std::sin(to)};
    return [=](double x, double y) {
        double angle = std::atan2(y - centre.y, x - centre.x);
        while (angle < from)
            angle += 2 * std::numbers::pi;
        if (angle <= to)
            return std::abs(length(x - centre.x, y - centre.y) - radius) - halfWidth;
        return std::min(length(x - start.x, y - start.y), length(x - end.x, y - end.y)) - halfWidth;
    };
}

Shape Unite(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) {
        return std::min(a(x, y), b(x, y));
    };
}

Shape Intersect(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) {
        return std::max(a(x, y), b(x, y));
    };
}

Shape Subtract(Shape from, Shape cut) {
    return [from = std::move(from), cut = std::move(cut)](double x, double y) {
        return std::max(from(x, y), -cut(x, y));
    };
}

Shape Outline(Shape shape, double halfWidth) {
    return [shape = std::move(shape), halfWidth](double x, double y) {
        return std::abs(shape(x, y)) - halfWidth;
    };
}

Shape Moved(Shape shape, double dx, double dy) {
    return [shape = std::move(shape), dx, dy](double x, double y) { return shape(x - dx, y - dy); };
}

Shape Grown(Shape shape, double d) {
    return [shape = std::move(shape), d](double x, double y) { return shape(x, y) - d; };
}

} // namespace nestora::skingen
