#pragma once

namespace zib {

// A rectangle of the on-screen piano: left, top, width and height in pixels.
// It holds the points from left to left + width - 1 and top to top + height - 1.
class CPianoRect {
public:
    constexpr CPianoRect() = default;
    constexpr CPianoRect(int left, int top, int width, int height)
        : left(left), top(top), width(width), height(height)
    {
    }

    constexpr int Right() const { return left + width; }
    constexpr int Bottom() const { return top + height; }
    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
    constexpr bool Contains(int x, int y) const { return x >= left && x < Right() && y >= top && y < Bottom(); }
    constexpr CPianoRect Offset(int dx, int dy) const { return {left + dx, top + dy, width, height}; }

    friend constexpr bool operator==(const CPianoRect&, const CPianoRect&) = default;

    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

} // namespace zib
