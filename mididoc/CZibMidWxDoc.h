#pragma once

#include "ui/CZibDocument.h"
#include "mididoc/CZibMidWxSeams.h"
#include "mididoc/core/MidiDocModel.h"

#include <cstdint>
#include <memory>
#include <string>
#include <wx/docview.h>

namespace zib {

class CZibMidView;
class MidiTransport;

// The MIDI document of the program: the windowing library's document around
// the window-free MidiDocModel, whose seams it fills with its views, file
// dialogs and message boxes. It opens, creates and saves the file, asks
// before a changed document closes, and routes the document's commands (the
// text dumps, the MIDI-to-style conversions, Select All, Undo and Redo) to
// the model. The windows of other areas that belong to the document (event
// editor, tempo-track editor, text viewer) are remembered here and closed
// with it.
class CZibMidWxDoc : public CZibDocument {
public:
    CZibMidWxDoc();
    ~CZibMidWxDoc() override;

    // The document's data
    MidiDocModel& Model() { return *m_model; }
    const MidiDocModel& Model() const { return *m_model; }
    CZibMidView* TrackView() const { return m_trackView; }
    void SetTrackView(CZibMidView* view) { m_trackView = view; }
    // The player of the MIDI window (its bar view); null until the window has one
    MidiTransport* Transport() const { return m_transport; }
    void SetTransport(MidiTransport* transport) { m_transport = transport; }
    // The MIDI document a window of the program shows (its MIDI window or an
    // editor of it), or null
    static CZibMidWxDoc* OfWindow(wxWindow* window);

    // wxDocument
    bool OnNewDocument() override;
    bool OnOpenDocument(const wxString& path) override;
    bool OnSaveModified() override;
    bool Save() override;
    bool SaveAs() override;
    bool DoSaveDocument(const wxString& path) override;
    bool DeleteContents() override;
    bool IsModified() const override;
    void Modify(bool modified) override;

    // A command that failed for good: the track list empties, the contents go
    // and the document's windows close
    void CloseAfterFailure();
    // Closes the event editor and the tempo-track editor when they are open
    void CloseEditorFrames();
    // The document's text viewer
    void CloseTextViewer();
    bool ShowInTextViewer(const wxString& titlePrefix, const std::string& path);

    // Windows of other areas that belong to the document, with their open flags
    wxWindow* m_EventEditor = nullptr;
    uint8_t m_EventEditorOpen = 0;
    wxWindow* m_TempoEditor = nullptr;
    uint8_t m_TempoEditorOpen = 0;
    wxWindow* m_TextViewer = nullptr;
    uint8_t m_TextViewerOpen = 0;

    // Commands
    void OnFileTextDump(wxCommandEvent& event);
    void OnMidiToText(wxCommandEvent& event);
    void OnUtilMidiToSty(wxCommandEvent& event);
    void OnUtilMidiToQeSty(wxCommandEvent& event);
    void OnEditSelectAll(wxCommandEvent& event);
    void OnEditUndo(wxCommandEvent& event);
    void OnEditRedo(wxCommandEvent& event);
    void OnFileSave(wxCommandEvent& event);
    void OnFileSaveAs(wxCommandEvent& event);
    void OnFileClose(wxCommandEvent& event);

    // Takes the model's changed flag, so that the window's title shows the
    // unsaved-changes mark
    void SyncFromModel();

private:
    bool FinishLoading(MidiDocModel::OpenResult result);

    void OnViewerDestroyed(wxWindowDestroyEvent& event);

    CZibMidWxSeams m_seams;
    std::unique_ptr<MidiDocModel> m_model;
    CZibMidView* m_trackView = nullptr;
    MidiTransport* m_transport = nullptr;

    wxDECLARE_DYNAMIC_CLASS(CZibMidWxDoc);
};

} // namespace zib
