#pragma once

#include <cstdint>
#include <span>

namespace zib {

class CZibItemDoc;

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

    // The state of a document's list: its rows, the view mode, the focused
    // row's item (style or pad) with or without data.
    static StyListState Of(const CZibItemDoc& doc, std::span<const int> selectedRows, int focusedRow);
};

// Whether a command of a style list / a pad list is enabled.
bool StyCommandEnabled(StyCommand command, const StyListState& state);
bool PadCommandEnabled(StyCommand command, const StyListState& state);

// Whether a command needs the edit held in an open edit frame in its item
// before it runs, as a save does: the commands that read items (copy,
// extract, the exports, dumps, reports and playback) would read the stored
// bytes without it, and the ones that delete, move, empty, import, rename
// or replace items close the frame, which writes back too. A command whose
// write-back fails does not run. Select All and Paste touch no stored item.
bool StyCommandWritesBackFirst(StyCommand command);

// The message number of the STS View entry's text: "Show Style View" in
// the STS view, "Show STS View" otherwise.
int StsViewCommandText(uint32_t viewMode);

} // namespace zib
