#pragma once

#include "app/CChildFrames.h"

class wxSplitterWindow;

namespace zib {

// The MDI child frame of a MIDI document: a splitter with the track list on
// the left and, when an area provides one, the bar view on the right
// (MidiWindowHooks().MakeSecondPane). Its track list view keeps it open while
// MIDI plays.
class CChildSplitterMidFrame : public CZibDocChildFrame {
public:
    CChildSplitterMidFrame();

    ChildKind Kind() const override { return ChildKind::ChildSplitterMid; }

    // The splitter the panes are made in (created on first use)
    wxSplitterWindow* Splitter();
    // Puts the track list on the left and asks for the right pane
    void SetPanes(wxWindow* trackList);
    wxWindow* SecondPane() const { return m_secondPane; }

private:
    wxSplitterWindow* m_splitter = nullptr;
    wxWindow* m_secondPane = nullptr;

    wxDECLARE_DYNAMIC_CLASS(CChildSplitterMidFrame);
};

} // namespace zib
