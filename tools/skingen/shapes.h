// Shapes as signed distance functions (negative inside, in pixels), so every outline the
// generator draws is anti-aliased the same way and shapes combine with plain min/max.
// Coordinates are in pixels with (0, 0) at the top-left corner of the top-left pixel; a
// pixel's centre is at (x + 0.5, y + 0.5), so a box from 2 to 5 covers pixels 2, 3 and 4
// exactly, with no blurred edge.
#pragma once

#include "canvas.h"

#include <vector>

namespace nestora::skingen {

struct Vec {
    double x = 0;
    double y = 0;
};

Shape Circle(double cx, double cy, double radius);
Shape Ellipse(double cx, double cy, double rx, double ry);
Shape Box(double left, double top, double right, double bottom);
Shape RoundedBox(double left, double top, double right, double bottom, double radius);
// A stroke with round ends from a to b, halfWidth pixels to each side.
Shape Segment(Vec a, Vec b, double halfWidth);
// A stroke through the points in order (round joints).
Shape Polyline(std::vector<Vec> points, double halfWidth);
// A closed polygon (any winding).
Shape Polygon(std::vector<Vec> points);
// A circular arc from angle `from` to `to` (radians, clockwise on screen from 3 o'clock,
// from < to), stroked halfWidth to each side with round ends.
Shape Arc(Vec centre, double radius, double from, double to, double halfWidth);

Shape Unite(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Subtract(Shape from, Shape cut);
// The band of the given half width around a shape's outline.
Shape Outline(Shape shape, double halfWidth);
Shape Moved(Shape shape, double dx, double dy);
// Grown by d pixels (shrunk for negative d).
Shape Grown(Shape shape, double d);

} // namespace nestora::skingen
