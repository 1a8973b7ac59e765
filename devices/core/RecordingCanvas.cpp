#include "devices/core/RecordingCanvas.h"

namespace zib {

void RecordingCanvas::Fill(int x, int y, int width, int height, uint32_t color)
{
    if (width > 0 && height > 0) m_commands.push_back({Op::Fill, x, y, width, height, color, {}});
}

void RecordingCanvas::Hatch(int x, int y, int width, int height, uint32_t color)
{
    if (width > 0 && height > 0) m_commands.push_back({Op::Hatch, x, y, width, height, color, {}});
}

void RecordingCanvas::Line(int x, int y, int x2, int y2, uint32_t color)
{
    m_commands.push_back({Op::Line, x, y, x2, y2, color, {}});
}

void RecordingCanvas::Text(int x, int y, std::string text, uint32_t color)
{
    m_commands.push_back({Op::Text, x, y, 0, 0, color, std::move(text)});
}

} // namespace zib
