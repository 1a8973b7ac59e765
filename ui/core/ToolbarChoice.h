#pragma once

#include "ui/core/ChildKind.h"

#include <array>
#include <optional>
#include <string_view>

namespace zib {

// The ten docked bars of the main frame, in the order the frame creates them.
enum class MainBar {
    Standard,
    StyDoc,
    MoveItem,
    MidiDoc,
    StyleTree,
    MidiEdit,
    MidiPlay,
    MidiTempo,
    MidiPosition,
    MidiSelection,
};
inline constexpr int kMainBarCount = 10;

// The English title of a bar (shown when it floats; also the name of its pane).
std::string_view MainBarTitle(MainBar bar);

// The user's nine visibility wishes, in this order; MidiEdit follows MidiDoc's.
enum class BarFlag {
    Standard,
    StyDoc,
    MoveItem,
    StyleTree,
    MidiDoc,
    MidiPlay,
    MidiTempo,
    MidiPosition,
    MidiSelection,
};
inline constexpr int kBarFlagCount = 9;
using BarFlags = std::array<bool, kBarFlagCount>;

// The flag that governs a bar.
BarFlag FlagOfBar(MainBar bar);

// What the frame does with a bar when the active child changes.
enum class BarAction { Keep, Show, Hide };

// The two button sets of the MidiDoc bar.
enum class MidiDocButtons { Unchanged, Full, Reduced };

struct ToolbarChoice {
    std::array<BarAction, kMainBarCount> actions{};
    std::optional<MainBar> documentBar; // nullopt: the current document toolbar stays
    MidiDocButtons midiDocButtons = MidiDocButtons::Unchanged;

    BarAction action(MainBar bar) const { return actions[size_t(bar)]; }
};

// The bar set for the active child: the listed bars shown or hidden by their
// flags, every other bar but Standard hidden. Standard is touched only without
// an active child, and is then shown whatever its flag says.
ToolbarChoice ChooseToolbars(ChildKind active, bool textViewerIsMidi, const BarFlags& flags);

// The remembered-place slot (0-7) a moved bar is stored in, by the active child.
int ToolbarSlotFor(ChildKind active, bool textViewerIsMidi);
// The same for one bar: the three MIDI bars (tempo, position, selection) keep
// their places by contexts of their own, where the tempo-track editor counts
// with the whole-file editor (4) and every window of a MIDI document as 3.
int ToolbarSlotFor(MainBar bar, ChildKind active, bool textViewerIsMidi);

// View > Toolbar: checked while the Standard bar shows. It runs the Toolbars
// dialog, which needs an active child, so without one it is disabled.
struct ViewToolbarItemState {
    bool enabled = false;
    bool checked = false;
    bool operator==(const ViewToolbarItemState&) const = default;
};
ViewToolbarItemState ViewToolbarItem(bool hasActiveChild, bool standardShown);

// The window-kind code the Toolbars dialog is run with, by the active child.
int ToolbarsDialogKind(ChildKind active, bool textViewerIsMidi);

} // namespace zib
