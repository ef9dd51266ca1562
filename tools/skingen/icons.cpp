#include "icons.h"

#include "shapes.h"

#include <algorithm>

namespace skingen {

Canvas folderWithTick(int size) {
    Canvas c(size, size, {0, 0, 0, 0});
    const double k = size / 16.0;
    const Rgba edge = rgb(0x9A6A08);
    // Back of the folder with its tab.
    const Shape tab = roundedBox(0.5 * k, 2.0 * k, 6.8 * k, 5.0 * k, 1.0 * k);
    const Shape back = roundedBox(0.5 * k, 3.5 * k, 15.5 * k, 14.5 * k, 1.0 * k);
    const Shape backAll = unite(tab, back);
    c.fill(backAll, edge);
    c.fill(grown(backAll, -0.9 * k),
           verticalGradient({{2 * k, rgb(0xF2C24A)}, {14 * k, rgb(0xD99A1C)}}));
    // Front flap, slightly skewed, lighter.
    const Shape front = polygon(
        {{1.0 * k, 6.5 * k}, {15.5 * k, 6.5 * k}, {15.0 * k, 14.5 * k}, {0.5 * k, 14.5 * k}});
    c.fill(front, edge);
    c.fill(grown(front, -0.9 * k),
           verticalGradient({{6.5 * k, rgb(0xFFE48A)}, {14.5 * k, rgb(0xF5BE35)}}));
    c.fill(box(1.8 * k, 7.4 * k, 14.6 * k, 7.4 * k + std::max(1.0, 0.6 * k)),
           withAlpha(rgb(0xFFF6D0), 0.8));
    // The red tick, with a dark rim so it stands out on the yellow.
    const Shape tick =
        polyline({{5.6 * k, 9.6 * k}, {8.2 * k, 12.3 * k}, {14.6 * k, 3.6 * k}}, 1.25 * k);
    c.fill(grown(tick, std::max(0.7, 0.55 * k)), rgb(0x6A0A06));
    c.fill(tick, verticalGradient({{3 * k, rgb(0xF2412F)}, {12 * k, rgb(0xC4170F)}}));
    return c;
}

Canvas exitCross(int size) {
    Canvas c(size, size, {0, 0, 0, 0});
    const double k = size / 16.0;
    const double hw = 1.9 * k;
    const Shape cross = unite(segment({3.5 * k, 3.5 * k}, {12.5 * k, 12.5 * k}, hw),
                              segment({12.5 * k, 3.5 * k}, {3.5 * k, 12.5 * k}, hw));
    c.fill(grown(cross, 0.8 * k), rgb(0x7A0C08));
    c.fill(cross, verticalGradient({{2 * k, rgb(0xFF6A55)}, {14 * k, rgb(0xC8150C)}}));
    return c;
}

Canvas showWindowEmblem(int size) {
    Canvas c(size, size, {0, 0, 0, 0});
    const double k = size / 16.0;
    const double m = size / 2.0;
    // A red round badge with a small white window on it.
    c.fill(circle(m, m, 7.5 * k), rgb(0x7A0C08));
    c.fill(circle(m, m, 6.6 * k),
           verticalGradient(
               {{1 * k, rgb(0xFF7A62)}, {8 * k, rgb(0xE0321F)}, {15 * k, rgb(0xA8140B)}}));
    c.fill(ellipse(m, 4.6 * k, 4.6 * k, 2.6 * k),
           verticalGradient(
               {{2 * k, withAlpha(rgb(0xFFFFFF), 0.55)}, {7 * k, withAlpha(rgb(0xFFFFFF), 0.0)}}));
    const double l = 4.0 * k, t = 5.0 * k, r = 12.0 * k, b = 11.5 * k;
    c.fill(subtract(box(l, t, r, b), box(l + k, t + 2 * k, r - k, b - k)), rgb(0xFFFFFF));
    return c;
}

} // namespace skingen
