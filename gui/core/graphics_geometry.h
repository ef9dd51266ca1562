#pragma once
// Points, sizes and rectangles in device pixels, as the graphics and the menus pass them.
// A TRect's Right and Bottom are exclusive, as in Windows: (0, 0, 10, 5) covers 10 by 5
// pixels. Plain values without windows.h, so layout arithmetic is testable anywhere.

namespace nestora::gui {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // Right and bottom edges are outside, as for every Windows rectangle.
    constexpr bool Contains(TPoint p) const {
        return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect MakeRect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}
constexpr TRect BoundsRect(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}
// The rectangle grown by dx on the left and right and dy on the top and bottom (negative
// values shrink it).
constexpr TRect InflatedRect(TRect r, int dx, int dy) {
    return TRect{r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy};
}
constexpr TRect OffsetRect(TRect r, int dx, int dy) {
    return TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

} // namespace nestora::gui
