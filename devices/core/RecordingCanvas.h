#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zib {

// Drawing commands written by a window-free painter and replayed by its
// window onto the screen, so what a view shows can be tested headless.
// Coordinates are the window's pixels; colours are 0xRRGGBB.
class RecordingCanvas {
public:
    enum class Op : uint8_t {
        Fill,  // a rectangle in one colour
        Hatch, // a rectangle in the 8 x 8 pattern of alternating rows 0xAA, 0x55
        Line,  // from (x, y) to (x2, y2), the end point included
        Text,  // text with its top-left corner at (x, y)
    };
    struct Command {
        Op op;
        int x, y, x2, y2; // Fill and Hatch: x2, y2 are width and height
        uint32_t color;
        std::string text;
    };

    void Fill(int x, int y, int width, int height, uint32_t color);
    void Hatch(int x, int y, int width, int height, uint32_t color);
    void Line(int x, int y, int x2, int y2, uint32_t color);
    void Text(int x, int y, std::string text, uint32_t color);

    const std::vector<Command>& Commands() const { return m_commands; }
    void Clear() { m_commands.clear(); }

private:
    std::vector<Command> m_commands;
};

} // namespace zib
