#pragma once

#include "mididoc/core/CZibMidDoc.h"
#include "styles/StyleSeriesTraits.h"

#include <cstdint>
#include <string>
#include <wx/docview.h>

namespace zib {

class CZibMidView;

// The MIDI document of the program: the windowing library's document around
// the GUI-free CZibMidDoc. It opens, creates and saves the file with the
// program's messages, asks before a changed document closes, and runs the
// document's commands: the text dumps, the MIDI-to-style conversions, Select
// All, Undo and Redo. The windows of other areas that belong to the document
// (event editor, tempo-track editor, text viewer) are remembered here and
// closed with it.
class CZibMidWxDoc : public wxDocument {
public:
    CZibMidWxDoc();
    ~CZibMidWxDoc() override;

    // The document's data
    CZibMidDoc& Model() { return m_model; }
    const CZibMidDoc& Model() const { return m_model; }
    CZibMidView* TrackView() const { return m_trackView; }
    void SetTrackView(CZibMidView* view) { m_trackView = view; }

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

private:
    bool FinishLoading(CZibMidDoc::Result result);
    void ShowLoadFailure(CZibMidDoc::Result result);
    void RememberFolder();
    void RunMidiToStyle(StyleSeries series);
    // A text viewer of the document showing `path`; false when it cannot be made
    bool ShowInTextViewer(const wxString& titlePrefix, const std::string& path);
    void CloseTextViewer();
    // The dump file name of File Text Dump: the title without its extension, ".txt"
    std::string DumpFileName() const;
    std::string TitleText() const;
    bool Playing() const;

    void OnUpdateHasTracks(wxUpdateUIEvent& event);
    void OnUpdateUndo(wxUpdateUIEvent& event);
    void OnUpdateRedo(wxUpdateUIEvent& event);

    CZibMidDoc m_model;
    CZibMidView* m_trackView = nullptr;

    wxDECLARE_DYNAMIC_CLASS(CZibMidWxDoc);
};

} // namespace zib
