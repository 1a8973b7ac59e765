#pragma once

#include "ui/MdiFrameTypes.h"
#include "mididoc/CMidiEditorFrame.h"

#include <array>
#include <vector>

namespace zib {

class CEventListCtrl;
class CZibMidWxDoc;

// The whole-file event editor of a MIDI document: the events of the tracks
// the track list selected, in one event list. It takes the document menu's
// commands while active (the list takes Insert, Delete, Copy, Paste, Select
// All, Transpose, Shift and the text dump), toggles the event-class filters,
// and stays open while MIDI plays.
class CMidiEditFrameWndEx : public CMidiEditorFrame {
public:
    // Opens the editor of `rows` (track rows 0..63), closing an open editor
    // and the tempo-track editor first; the editor becomes the visible tab.
    static CMidiEditFrameWndEx* Open(ZibMdiParentFrame& frame, CZibMidWxDoc& doc, const std::vector<int>& rows);
    ~CMidiEditFrameWndEx() override;

    ChildKind Kind() const override { return ChildKind::MidiEditEx; }
    void FillStatus(ChildStatus& status) const override;

    CEventListCtrl& List() { return *m_list; }
    // The list fills its rows again (after edits of the document)
    void RebuildList();
    // Commits an open cell editor now, as Enter would; false when its text
    // did not parse (the cell says so and stays open)
    bool CommitCellEditor();

    // "%s - Event List - %s" with the document's name: "Multiple Tracks",
    // the track's name, or "Track %d"
    static TitleRule TitleFor(CZibMidWxDoc& doc, const std::vector<int>& rows);

private:
    void DropList() override;
    void Deactivated() override;
    CMidiEditFrameWndEx(ZibMdiParentFrame& frame, CZibMidWxDoc& doc, const wxString& title);
    void ShowEvents(const std::vector<int>& rows);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void OnCommand(wxCommandEvent& event);
    void OnCloseWindow(wxCloseEvent& event);
    void ToggleFilter(int command);

    CEventListCtrl* m_list = nullptr;
    std::array<bool, 7> m_filterShown{true, true, true, true, true, true, true};
};

} // namespace zib
