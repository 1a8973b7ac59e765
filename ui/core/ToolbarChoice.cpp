#include "ui/core/ToolbarChoice.h"

#include <initializer_list>

namespace zib {

namespace {

enum class BarSet { None, Style, Midi, MoveItemOnly, Other };

ToolbarChoice choose(BarSet set, std::optional<MainBar> documentBar, MidiDocButtons buttons,
                     const BarFlags& flags)
{
    ToolbarChoice c;
    c.documentBar = documentBar;
    c.midiDocButtons = buttons;
    for (auto& a : c.actions)
        a = BarAction::Hide;
    auto byFlag = [&](std::initializer_list<MainBar> bars) {
        for (MainBar b : bars)
            c.actions[size_t(b)] = flags[size_t(FlagOfBar(b))] ? BarAction::Show : BarAction::Hide;
    };
    switch (set) {
    case BarSet::None:
        c.actions[size_t(MainBar::Standard)] = BarAction::Show;
        return c;
    case BarSet::Style:
        byFlag({MainBar::MoveItem, MainBar::StyDoc, MainBar::StyleTree, MainBar::MidiEdit});
        break;
    case BarSet::Midi:
        byFlag({MainBar::MidiTempo, MainBar::MidiDoc, MainBar::MidiPlay, MainBar::MidiPosition,
                MainBar::MidiSelection});
        break;
    case BarSet::MoveItemOnly:
        byFlag({MainBar::MoveItem});
        break;
    case BarSet::Other:
        break;
    }
    c.actions[size_t(MainBar::Standard)] = BarAction::Keep;
    return c;
}

} // namespace

std::string_view MainBarTitle(MainBar bar)
{
    static constexpr std::string_view kTitles[kMainBarCount] = {
        "Standard", "StyDoc",   "MoveItem",  "MidiDoc",      "StyleTree",
        "MidiEdit", "MidiPlay", "MidiTempo", "MidiPosition", "MidiSelection"};
    const auto i = size_t(bar);
    return i < size_t(kMainBarCount) ? kTitles[i] : std::string_view();
}

BarFlag FlagOfBar(MainBar bar)
{
    switch (bar) {
    case MainBar::Standard:
        return BarFlag::Standard;
    case MainBar::StyDoc:
        return BarFlag::StyDoc;
    case MainBar::MoveItem:
        return BarFlag::MoveItem;
    case MainBar::MidiDoc:
        return BarFlag::MidiDoc;
    case MainBar::StyleTree:
        return BarFlag::StyleTree;
    case MainBar::MidiEdit:
        return BarFlag::MidiDoc;
    case MainBar::MidiPlay:
        return BarFlag::MidiPlay;
    case MainBar::MidiTempo:
        return BarFlag::MidiTempo;
    case MainBar::MidiPosition:
        return BarFlag::MidiPosition;
    case MainBar::MidiSelection:
        return BarFlag::MidiSelection;
    }
    return BarFlag::Standard;
}

ToolbarChoice ChooseToolbars(ChildKind active, bool textViewerIsMidi, const BarFlags& flags)
{
    using K = ChildKind;
    const auto U = MidiDocButtons::Unchanged;
    switch (active) {
    case K::None:
        return choose(BarSet::None, MainBar::Standard, U, flags);
    case K::ChildSty:
        return choose(BarSet::Style, MainBar::StyDoc, U, flags);
    case K::StyPropSplitter:
    case K::PadPropSplitter:
        return choose(BarSet::Style, MainBar::StyleTree, U, flags);
    case K::MidiEditStyTrack:
    case K::MidiEditPadTrack:
        return choose(BarSet::Style, MainBar::MidiEdit, U, flags);
    case K::MidiTempoTrackEdit:
        return choose(BarSet::Midi, MainBar::MidiDoc, MidiDocButtons::Reduced, flags);
    case K::MidiEditEx:
    case K::ChildSplitterMid:
        return choose(BarSet::Midi, MainBar::MidiDoc, MidiDocButtons::Full, flags);
    case K::TextViewer:
        return textViewerIsMidi ? choose(BarSet::Midi, MainBar::MidiDoc, U, flags)
                                : choose(BarSet::Style, MainBar::StyDoc, U, flags);
    case K::PlayMidiFile:
        return choose(BarSet::Style, MainBar::StyleTree, U, flags);
    case K::ChildPad:
        return choose(BarSet::Style, MainBar::StyDoc, U, flags);
    case K::ChildPrf:
    case K::ChildArr:
    case K::ChildPcg:
    case K::ChildGbl:
    case K::ChildArg:
        return choose(BarSet::MoveItemOnly, MainBar::MoveItem, U, flags);
    case K::ChildFrame:
    case K::Other:
        break;
    }
    return choose(BarSet::Other, std::nullopt, U, flags);
}

int ToolbarSlotFor(ChildKind active, bool textViewerIsMidi)
{
    switch (active) {
    case ChildKind::StyPropSplitter:
        return 6;
    case ChildKind::MidiEditStyTrack:
        return 5;
    case ChildKind::MidiEditEx:
        return 4;
    case ChildKind::ChildSplitterMid:
        return 3;
    case ChildKind::TextViewer:
        return textViewerIsMidi ? 3 : 0;
    case ChildKind::ChildPrf:
        return 1;
    case ChildKind::ChildSty:
        return 0;
    case ChildKind::ChildPcg:
        return 2;
    default:
        return 7;
    }
}

int ToolbarSlotFor(MainBar bar, ChildKind active, bool textViewerIsMidi)
{
    const bool midiBar = bar == MainBar::MidiTempo || bar == MainBar::MidiPosition || bar == MainBar::MidiSelection;
    if (midiBar) {
        // The MIDI bars count the tempo-track editor with the event editor, and
        // only a MIDI report among the text viewers.
        if (active == ChildKind::MidiTempoTrackEdit) return 4;
        if (active == ChildKind::TextViewer && !textViewerIsMidi) return 7;
    }
    return ToolbarSlotFor(active, textViewerIsMidi);
}

ViewToolbarItemState ViewToolbarItem(bool hasActiveChild, bool standardShown)
{
    return {hasActiveChild, standardShown};
}

int ToolbarsDialogKind(ChildKind active, bool textViewerIsMidi)
{
    switch (active) {
    case ChildKind::StyPropSplitter:
        return 9;
    case ChildKind::PadPropSplitter:
        return 10;
    case ChildKind::MidiEditStyTrack:
        return 11;
    case ChildKind::MidiEditPadTrack:
        return 12;
    case ChildKind::MidiEditEx:
        return 7;
    case ChildKind::MidiTempoTrackEdit:
        return 8;
    case ChildKind::ChildSplitterMid:
        return 5;
    case ChildKind::TextViewer:
        return textViewerIsMidi ? 5 : 1;
    case ChildKind::PlayMidiFile:
        return 13;
    case ChildKind::ChildPrf:
        return 2;
    case ChildKind::ChildPad:
        return 4;
    case ChildKind::ChildArr:
        return 6;
    case ChildKind::ChildGbl:
        return 14;
    case ChildKind::ChildArg:
        return 15;
    case ChildKind::ChildSty:
        return 1;
    case ChildKind::ChildPcg:
        return 3;
    default:
        return 0;
    }
}

} // namespace zib
