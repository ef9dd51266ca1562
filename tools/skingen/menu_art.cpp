#include "menu_art.h"

#include "shapes.h"

namespace nestora::skingen {

Canvas MacMenuBar(int scale) {
    Canvas c(1, 22, {0, 0, 0, 0}, scale);
    for (int y = 0; y < 20; ++y) {
        const Rgba base = Mix(Rgb(0xF6F6F6), Rgb(0xE6E6E6), y / 19.0);
        c.FillRect(0, y, 1, y + 1, (y % 2 == 1) ? Darken(base, 0.04) : base);
    }
    c.FillRect(0, 20, 1, 21, Rgb(0xCBCBCB));
    c.FillRect(0, 21, 1, 22, Rgb(0xA3A3A3));
    return c;
}

Canvas MacMenuSelect(int scale) {
    Canvas c(1, 21, {0, 0, 0, 0}, scale);
    for (int y = 0; y < 21; ++y) {
        const Rgba base = Mix(Rgb(0x4A8CE6), Rgb(0x2A64C6), y / 20.0);
        c.FillRect(0, y, 1, y + 1, (y % 2 == 1) ? Darken(base, 0.09) : base);
    }
    return c;
}

Canvas MenuCheckMark(int scale) {
    // The menu masks out pure white, so the tick's soft edge is blended towards the grey of
    // the menus' side bar rather than towards white, and faint edge pixels stay pure white.
    Canvas tick(16, 16, {0, 0, 0, 0}, scale);
    const Shape stroke = Polyline({{3.6, 8.4}, {6.6, 11.4}, {12.6, 4.4}}, 1.45);
    tick.fill(Grown(stroke, 0.6), Rgb(0x1E6B1E));
    tick.fill(stroke, VerticalGradient({{4, Rgb(0x5CCB4A)}, {12, Rgb(0x2E9A2A)}}));
    Canvas out(16, 16, Rgb(0xFFFFFF), scale);
    const Rgba bar = Rgb(0xD6D3CE);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            const Rgba p = tick.at(x, y);
            if (p.a >= 96)
                out.at(x, y) = Mix(bar, {p.r, p.g, p.b, 255}, p.a / 255.0);
        }
    return out;
}

Canvas MacFormBackground(int scale) {
    Canvas c(8, 8, {0, 0, 0, 0}, scale);
    for (int y = 0; y < 8; ++y)
        c.FillRect(0, y, 8, y + 1, (y % 2 == 0) ? Rgb(0xEBEBEB) : Rgb(0xE3E3E3));
    return c;
}

Canvas ProteinFormBackground(int scale) {
    // A faint diagonal weave on the form's near-white, so large panels don't look empty.
    Canvas c(8, 8, Rgb(0xFBFBFB), scale);
    for (int i = 0; i < 8; ++i) {
        c.FillRect(i, i, i + 1, i + 1, Rgb(0xF2F2F2));
        c.FillRect((i + 4) % 8, i, (i + 4) % 8 + 1, i + 1, Rgb(0xF6F6F6));
    }
    return c;
}

} // namespace nestora::skingen
