#include "ui/core/ToolbarIcons.h"

#include <array>
#include <utility>

namespace zib {

std::optional<ThemeIconNames> StandardActionIcon(std::string_view icon)
{
    static constexpr std::array<std::pair<std::string_view, ThemeIconNames>, 16> actions = {{
        {"new", {"document-new", "gtk-new"}},
        {"open", {"document-open", "gtk-open"}},
        {"save", {"document-save", "gtk-save"}},
        {"cut", {"edit-cut", "gtk-cut"}},
        {"copy", {"edit-copy", "gtk-copy"}},
        {"paste", {"edit-paste", "gtk-paste"}},
        {"undo", {"edit-undo", "gtk-undo"}},
        {"redo", {"edit-redo", "gtk-redo"}},
        {"delete", {"edit-delete", "gtk-delete"}},
        {"play", {"media-playback-start", "gtk-media-play"}},
        {"stop", {"media-playback-stop", "gtk-media-stop"}},
        {"record", {"media-record", "gtk-media-record"}},
        {"rewind", {"media-seek-backward", "gtk-media-rewind"}},
        {"forward", {"media-seek-forward", "gtk-media-forward"}},
        {"properties", {"document-properties", "gtk-properties"}},
        {"help", {"help-browser", "gtk-help"}},
    }};
    for (const auto& [name, names] : actions)
        if (name == icon) return names;
    return std::nullopt;
}

std::string OwnIconFile(std::string_view icon)
{
    return "icons/" + std::string(icon) + ".svg";
}

std::string ToolButtonTip(const ToolButtonDef& button, std::string_view text)
{
    if (StandardActionIcon(button.icon) || button.glyph.empty()) return std::string(text);
    return std::string(button.glyph) + ": " + std::string(text);
}

std::string SvgInColour(std::string_view svg, std::string_view colour)
{
    static constexpr std::string_view current = "currentColor";
    std::string out;
    out.reserve(svg.size());
    for (size_t at = 0;;) {
        const size_t found = svg.find(current, at);
        out.append(svg.substr(at, found - at));
        if (found == std::string_view::npos) return out;
        out.append(colour);
        at = found + current.size();
    }
}

} // namespace zib
