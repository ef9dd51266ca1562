#include "icons.h"

#include "shapes.h"

#include <algorithm>

namespace nestora::skingen {

Canvas FolderWithTick(int size) {
    Canvas c(size, size, {0, 0, 0, 0});
    const double k = size / 16.0;
    const Rgba edge = Rgb(0x9A6A08);
    // Back of the folder with its tab.
    const Shape tab = RoundedBox(0.5 * k, 2.0 * k, 6.8 * k, 5.0 * k, 1.0 * k);
    const Shape back = RoundedBox(0.5 * k, 3.5 * k, 15.5 * k, 14.5 * k, 1.0 * k);
    const Shape backAll = Unite(tab, back);
    c.fill(backAll, edge);
    c.fill(Grown(backAll, -0.9 * k),
           VerticalGradient({{2 * k, Rgb(0xF2C24A)}, {14 * k, Rgb(0xD99A1C)}}));
    // Front flap, slightly skewed, lighter.
    const Shape front = Polygon(
        {{1.0 * k, 6.5 * k}, {15.5 * k, 6.5 * k}, {15.0 * k, 14.5 * k}, {0.5 * k, 14.5 * k}});
    c.fill(front, edge);
    c.fill(Grown(front, -0.9 * k),
           VerticalGradient({{6.5 * k, Rgb(0xFFE48A)}, {14.5 * k, Rgb(0xF5BE35)}}));
    c.fill(Box(1.8 * k, 7.4 * k, 14.6 * k, 7.4 * k + std::max(1.0, 0.6 * k)),
           WithAlpha(Rgb(0xFFF6D0), 0.8));
    // The red tick, with a dark rim so it stands out on the yellow.
    const Shape tick =
        Polyline({{5.6 * k, 9.6 * k}, {8.2 * k, 12.3 * k}, {14.6 * k, 3.6 * k}}, 1.25 * k);
    c.fill(Grown(tick, std::max(0.7, 0.55 * k)), Rgb(0x6A0A06));
    c.fill(tick, VerticalGradient({{3 * k, Rgb(0xF2412F)}, {12 * k, Rgb(0xC4170F)}}));
    return c;
}

Canvas ExitCross(int size) {
    Canvas c(size, size, {0, 0, 0, 0});
    const double k = size / 16.0;
    const double hw = 1.9 * k;
    const Shape cross = Unite(Segment({3.5 * k, 3.5 * k}, {12.5 * k, 12.5 * k}, hw),
                              Segment({12.5 * k, 3.5 * k}, {3.5 * k, 12.5 * k}, hw));
    c.fill(Grown(cross, 0.8 * k), Rgb(0x7A0C08));
    c.fill(cross, VerticalGradient({{2 * k, Rgb(0xFF6A55)}, {14 * k, Rgb(0xC8150C)}}));
    return c;
}

Canvas ShowWindowEmblem(int size) {
    Canvas c(size, size, {0, 0, 0, 0});
    const double k = size / 16.0;
    const double m = size / 2.0;
    // A red round badge with a small white window on it.
    c.fill(Circle(m, m, 7.5 * k), Rgb(0x7A0C08));
    c.fill(Circle(m, m, 6.6 * k),
           VerticalGradient(
               {{1 * k, Rgb(0xFF7A62)}, {8 * k, Rgb(0xE0321F)}, {15 * k, Rgb(0xA8140B)}}));
    c.fill(Ellipse(m, 4.6 * k, 4.6 * k, 2.6 * k),
           VerticalGradient(
               {{2 * k, WithAlpha(Rgb(0xFFFFFF), 0.55)}, {7 * k, WithAlpha(Rgb(0xFFFFFF), 0.0)}}));
    const double l = 4.0 * k, t = 5.0 * k, r = 12.0 * k, b = 11.5 * k;
    c.fill(Subtract(Box(l, t, r, b), Box(l + k, t + 2 * k, r - k, b - k)), Rgb(0xFFFFFF));
    return c;
}

} // namespace nestora::skingen
