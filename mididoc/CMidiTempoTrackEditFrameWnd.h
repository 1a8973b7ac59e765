#pragma once

#include "ui/MdiFrameTypes.h"
#include "mididoc/CMidiEditorFrame.h"
#include "mididoc/core/TempoTrackModel.h"

#include <memory>
#include <wx/listctrl.h>

namespace zib {

class CTempoEventListCtrl;
class CZibMidWxDoc;

// The master (tempo) track editor of a MIDI document: the events of track 0
// of one view kind (time signatures, markers, tempo, lyrics, sysex, all) in a
// list, created, edited, deleted and shifted through the tempo-track model.
// Unlike the other MIDI windows it closes while MIDI plays; its edits wait.
class CMidiTempoTrackEditFrameWnd : public CMidiEditorFrame {
public:
    // Opens the editor in `viewKind`, or switches the open one to it.
    static CMidiTempoTrackEditFrameWnd* Open(ZibMdiParentFrame& frame, CZibMidWxDoc& doc, int viewKind);
    ~CMidiTempoTrackEditFrameWnd() override;

    ChildKind Kind() const override { return ChildKind::MidiTempoTrackEdit; }

    void SetViewKind(int viewKind);
    // The list fills again (after edits of the document)
    void RefillList();
    // The player's position: the row of the last event not after the tick,
    // or the row of an event
    void SelectRowBeforeTick(uint32_t tick);
    void SelectRowAtEvent(uint32_t eventIndex);
    TempoTrackModel& Model() { return *m_model; }

private:
    void DropList() override;
    CMidiTempoTrackEditFrameWnd(ZibMdiParentFrame& frame, CZibMidWxDoc& doc, int viewKind);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void OnCommand(wxCommandEvent& event);
    void OnItemClick(wxListEvent& event);
    void OnItemActivated(wxListEvent& event);
    void OnKey(wxListEvent& event);
    void Edit();
    void AfterEdit();
    // The master track changes under the event editor's rows too: its open
    // cell goes in first (false when its text did not parse)
    bool EventEditorCommitted();

    std::unique_ptr<TempoTrackModel> m_model;
    CTempoEventListCtrl* m_list = nullptr;
    bool m_followingPlayer = false; // a selection made for the player's position
};

} // namespace zib
