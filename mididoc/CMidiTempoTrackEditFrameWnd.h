#pragma once

#include "mididoc/CMidiEditorFrame.h"
#include "mididoc/core/TempoTrackModel.h"

#include <memory>
#include <wx/listctrl.h>

namespace zib {

class CMainFrame;
class CTempoEventListCtrl;
class CZibMidWxDoc;

// The master (tempo) track editor of a MIDI document: the events of track 0
// of one view kind (time signatures, markers, tempo, lyrics, sysex, all) in a
// list, created, edited, deleted and shifted through the tempo-track model.
// Unlike the other MIDI windows it closes while MIDI plays; its edits wait.
class CMidiTempoTrackEditFrameWnd : public CMidiEditorFrame {
public:
    // Opens the editor in `viewKind`, or switches the open one to it.
    static CMidiTempoTrackEditFrameWnd* Open(CMainFrame& frame, CZibMidWxDoc& doc, int viewKind);
    ~CMidiTempoTrackEditFrameWnd() override;

    ChildKind Kind() const override { return ChildKind::MidiTempoTrackEdit; }

    void SetViewKind(int viewKind);
    // The list fills again (after edits of the document)
    void RefillList();
    TempoTrackModel& Model() { return *m_model; }

private:
    void DropList() override;
    CMidiTempoTrackEditFrameWnd(CMainFrame& frame, CZibMidWxDoc& doc, int viewKind);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void OnCommand(wxCommandEvent& event);
    void OnItemClick(wxListEvent& event);
    void OnItemActivated(wxListEvent& event);
    void OnKey(wxListEvent& event);
    void Edit();
    void AfterEdit();

    std::unique_ptr<TempoTrackModel> m_model;
    CTempoEventListCtrl* m_list = nullptr;
};

} // namespace zib
