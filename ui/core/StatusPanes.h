#pragma once

#include "ui/core/ChildKind.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zib {

// What the active child window tells the status bar.
struct ChildStatus {
    ChildKind kind = ChildKind::None;

    // Style and pad property frames: the focused element, chord variation and
    // track of the tree view (255 = none), and whether the Qe-series name
    // tables apply (model 'F' or 'X'; always for pads).
    uint8_t element = 255;
    uint8_t chordVariation = 255;
    uint8_t track = 255;
    bool qeSeries = false;

    // Document list frames: whether the frame has an active view and document,
    // the name of the item in the focused row (Windows-1252 bytes), the item
    // count and the sum of the item sizes.
    bool hasViewAndDocument = false;
    std::optional<std::string> focusedItemName;
    int itemCount = 0;
    uint64_t totalItemSize = 0;

    // MIDI event editors: rows of the event list and selected rows.
    int eventRows = 0;
    int selectedRows = 0;
};

// The texts of status panes 101, 102 and 103 (UTF-8, in `language`).
std::array<std::string, 3> StatusPaneTexts(const ChildStatus& status, int language);

// The width of each of the three panes for a frame client width: a third.
inline int StatusPaneWidth(int clientWidth)
{
    return clientWidth * 2 / 6;
}

} // namespace zib
