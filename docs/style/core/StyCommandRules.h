#pragma once

#include <cstdint>
#include <span>

namespace zib {

class CZibPadDoc;
class CZibStyDoc;

// The commands of the style and pad lists whose menu entries and buttons are
// enabled by the state of the document and its list.
enum class StyCommand {
    Delete, Empty, ExtractItem, ImportItems, SelectAll, MoveUp, MoveDown, Copy, Cut, Paste, Rename, Properties,
    StsView, StyleToText, TextDump, DumpToText, CleanStyleEvents, ItemsReport, ExtractAll, ConvertQeToWq,
    StyleToMidi, StartStopPlayback, PadToMidi, PlaybackPadItem,
};

// What the rules look at.
struct StyListState {
    int items = 0;
    uint32_t model = ' ';
    uint32_t fileKind = 0;
    uint32_t viewMode = 1;
    int focused = -1;             // -1: no focused row
    bool focusedSelected = false; // the focused row is also selected
    int selected = 0;             // number of selected rows
    bool focusedHasData = false;  // the focused row's style item (pads: the pad) has data
    bool formatRegistered = true; // the private clipboard format
    bool clipboardHasBlock = false;

    static StyListState Of(const CZibStyDoc& doc, std::span<const int> selectedRows, int focusedRow);
    static StyListState Of(const CZibPadDoc& doc, std::span<const int> selectedRows, int focusedRow);
};

// Whether a command of a style list / a pad list is enabled.
bool StyCommandEnabled(StyCommand command, const StyListState& state);
bool PadCommandEnabled(StyCommand command, const StyListState& state);

// The message number of the STS View entry's text: "Show Style View" in
// the STS view, "Show STS View" otherwise.
int StsViewCommandText(uint32_t viewMode);

} // namespace zib
