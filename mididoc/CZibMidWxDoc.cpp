#include "mididoc/CZibMidWxDoc.h"

#include "app/CMainFrame.h"
#include "app/CTextViewer.h"
#include "app/CZibApp.h"
#include "app/CZibFileDialog.h"
#include "app/ZibMessageBox.h"
#include "app/core/CommandPaths.h"
#include "app/dialogs/CFileDialogs.h"
#include "app/texts/ZibMessageTable.h"
#include "mididoc/core/MidiDocMenu.h"
#include "mididoc/core/MidiToStyleCommand.h"
#include "mididoc/CZibMidView.h"
#include "platform/WxText.h"

#include <wx/filename.h>
#include <wx/utils.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibMidWxDoc, wxDocument);

namespace {

// Messages of the localized table
constexpr int kMsgCannotOpenFile = 9;
constexpr int kMsgBadFileSize = 14;
constexpr int kMsgEmptyFile = 46;
constexpr int kMsgCannotCreateViewer = 59;
constexpr int kMsgCannotOpenReport = 60;
constexpr int kMsgCannotUpdateDescription = 61;
constexpr int kMsgCannotRecreateImage = 65;
constexpr int kMsgCannotCreateTemplate = 68;
constexpr int kMsgConvertToWqStyle = 110;
constexpr int kMsgConvertToQeStyle = 111;

constexpr const char* kMidiFilter = "MIDI Files (*.MID)";
constexpr const char* kStyleFilter = "Style Files (*.STY)";
constexpr const char* kDumpFilter = "Zib Text Dump (*.TXT)";

wxString localized(int message)
{
    return wxFromUtf8(ZibMessage(message, wxGetApp().Language()));
}

// A path with the default extension when its file name has none.
std::string withExtension(std::string path, std::string_view extension)
{
    if (FileNameOfPath(path).find('.') == std::string_view::npos) path += extension;
    return path;
}

wxWindow* mainFrame()
{
    return CMainFrame::Get();
}

} // namespace

CZibMidWxDoc::CZibMidWxDoc()
{
    using namespace midicmd;
    auto bind = [this](int id, void (CZibMidWxDoc::*handler)(wxCommandEvent&)) {
        Bind(wxEVT_MENU, handler, this, cmd::ToWxId(id));
    };
    bind(FileTextDump, &CZibMidWxDoc::OnFileTextDump);
    bind(MidiToText, &CZibMidWxDoc::OnMidiToText);
    bind(MidiToWqStyle, &CZibMidWxDoc::OnUtilMidiToSty);
    bind(MidiToQe4kStyle, &CZibMidWxDoc::OnUtilMidiToQeSty);
    bind(EditSelectAll, &CZibMidWxDoc::OnEditSelectAll);
    bind(EditUndo, &CZibMidWxDoc::OnEditUndo);
    bind(EditRedo, &CZibMidWxDoc::OnEditRedo);
    bind(FileSave, &CZibMidWxDoc::OnFileSave);
    bind(FileSaveAs, &CZibMidWxDoc::OnFileSaveAs);
    bind(FileClose, &CZibMidWxDoc::OnFileClose);
    for (int id : {EditSelectAll, FileTextDump, MidiToText})
        Bind(wxEVT_UPDATE_UI, &CZibMidWxDoc::OnUpdateHasTracks, this, cmd::ToWxId(id));
    Bind(wxEVT_UPDATE_UI, &CZibMidWxDoc::OnUpdateUndo, this, cmd::ToWxId(EditUndo));
    Bind(wxEVT_UPDATE_UI, &CZibMidWxDoc::OnUpdateRedo, this, cmd::ToWxId(EditRedo));
    m_model.SetFolder(wxGetApp().Settings().LastOpenedDirectory);
}

CZibMidWxDoc::~CZibMidWxDoc()
{
    CloseEditorFrames();
    CloseTextViewer();
}

bool CZibMidWxDoc::Playing() const
{
    return wxGetApp().m_Playing != 0;
}

std::string CZibMidWxDoc::TitleText() const
{
    return wxToUtf8(GetUserReadableName());
}

// ---- Opening and creating --------------------------------------------------

void CZibMidWxDoc::ShowLoadFailure(CZibMidDoc::Result result)
{
    using R = CZibMidDoc::Result;
    switch (result) {
    case R::ReadFailed:
        ZibMessageBox(kMsgCannotOpenFile, "Serialize", wxOK | wxICON_EXCLAMATION);
        break;
    case R::TooLarge:
        ZibMessageBox(kMsgBadFileSize, "Serialize", wxOK | wxICON_EXCLAMATION);
        break;
    case R::EmptyFile:
        ZibMessageBox(kMsgEmptyFile, CZibApp::kAppName, wxOK | wxICON_EXCLAMATION);
        break;
    case R::ParseError:
        ZibTextBox(wxString::Format(UiTextWx("ERROR! %s"), wxFromCp1252(m_model.ParseErrorText())), "ParseMidi",
                   wxOK | wxICON_EXCLAMATION);
        break;
    case R::TemplateFailed:
        ZibMessageBox(kMsgCannotCreateTemplate, CZibApp::kAppName, wxOK | wxICON_EXCLAMATION);
        break;
    case R::NotMidiPath: // such a file simply does not open
    default:
        break;
    }
}

void CZibMidWxDoc::RememberFolder()
{
    ZibSettings& settings = wxGetApp().Settings();
    settings.LastOpenedFileType = int(m_model.MidiFlag());
    settings.WriteSetting("LastOpenedFileType");
    if (!m_model.Folder().empty()) settings.SetLastOpenedDirectory(m_model.Folder());
}

bool CZibMidWxDoc::FinishLoading(CZibMidDoc::Result result)
{
    if (result != CZibMidDoc::Result::Ok) {
        ShowLoadFailure(result);
        if (m_trackView) m_trackView->ClearList();
        m_model.DeleteContents();
        return false;
    }
    if (auto& enumerate = wxGetApp().Subsystems().EnumMidiDevices) enumerate();
    UpdateAllViews();
    RememberFolder();
    return true;
}

bool CZibMidWxDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument()) return false;
    CZibApp& app = wxGetApp();
    const int choice = app.m_NewDocSubType < 0 ? 0 : app.m_NewDocSubType;
    const auto tmpl = choice == 1 ? CZibMidDoc::NewTemplate::SixteenTracks : CZibMidDoc::NewTemplate::Normal;
    wxBusyCursor wait;
    const auto result = m_model.NewDocument(tmpl, app.Settings().LastOpenedDirectory, app.Settings().Author);
    if (result != CZibMidDoc::Result::Ok) {
        ShowLoadFailure(result);
        m_model.DeleteContents();
        return false;
    }
    // Not saved yet: Save asks for a name.
    SetFilename(wxFromUtf8(m_model.Path()), false);
    SetTitle("NewFile");
    Modify(false);
    return FinishLoading(result);
}

bool CZibMidWxDoc::OnOpenDocument(const wxString& path)
{
    const std::string file = wxToUtf8(path);
    CZibMidDoc::Result result;
    {
        wxBusyCursor wait;
        result = m_model.OpenFile(file);
    }
    if (!FinishLoading(result)) return false;
    SetFilename(path, true);
    Modify(false);
    SetDocumentSaved(true);
    return true;
}

bool CZibMidWxDoc::DeleteContents()
{
    CloseEditorFrames();
    m_model.DeleteContents();
    CloseTextViewer();
    return wxDocument::DeleteContents();
}

void CZibMidWxDoc::CloseAfterFailure()
{
    if (m_trackView) m_trackView->ClearList();
    DeleteContents();
    m_model.SetModified(false);
    // The windows go once the command that failed has returned.
    CallAfter([this] { DeleteAllViews(); });
}

void CZibMidWxDoc::CloseEditorFrames()
{
    if (m_EventEditorOpen && m_EventEditor) {
        wxWindow* editor = m_EventEditor;
        m_EventEditorOpen = 0;
        m_EventEditor = nullptr;
        editor->Close(true);
    }
    if (m_TempoEditorOpen && m_TempoEditor) {
        wxWindow* editor = m_TempoEditor;
        m_TempoEditorOpen = 0;
        m_TempoEditor = nullptr;
        editor->Close(true);
    }
}

// ---- Changed flag, close prompt and saving ---------------------------------

bool CZibMidWxDoc::IsModified() const
{
    return m_model.IsModified();
}

void CZibMidWxDoc::Modify(bool modified)
{
    m_model.SetModified(modified);
    wxDocument::Modify(modified);
}

bool CZibMidWxDoc::OnSaveModified()
{
    if (!IsModified()) return true;
    const wxString text = UiTextWx("Save changes to ") + GetUserReadableName();
    const wxString caption = wxFromUtf8(wxGetApp().m_ExeName);
    switch (ZibTextBox(text, caption, wxYES_NO | wxCANCEL | wxICON_EXCLAMATION)) {
    case wxID_YES:
        // A save that fails or is cancelled keeps the document open with its changes.
        return Save();
    case wxID_NO:
        Modify(false);
        return true;
    default:
        return false;
    }
}

bool CZibMidWxDoc::Save()
{
    if (!GetDocumentSaved() || GetFilename().empty()) return SaveAs();
    return DoSaveDocument(GetFilename());
}

bool CZibMidWxDoc::SaveAs()
{
    if (!m_model.HasTrackRecords()) return false;
    const wxString name = GetDocumentSaved() ? wxFileName(GetFilename()).GetFullName() : wxString("NewFile.mid");
    CZibFileDialog dlg(mainFrame(), UiTextWx("Save As"), wxFromUtf8(m_model.Folder()), name,
                       UiTextWx(kMidiFilter) + "|*.MID;*.mid", wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return false;
    const std::string path = withExtension(wxToUtf8(dlg.GetPath()), ".mid");
    if (!DoSaveDocument(wxFromUtf8(path))) return false;
    SetFilename(wxFromUtf8(path), true);
    SetTitle(wxFileName(wxFromUtf8(path)).GetFullName());
    SetDocumentSaved(true);
    wxGetApp().AddToRecentFileList(path);
    return true;
}

bool CZibMidWxDoc::DoSaveDocument(const wxString& path)
{
    CZibMidDoc::Result result;
    {
        wxBusyCursor wait;
        result = m_model.SaveAs(wxToUtf8(path));
    }
    switch (result) {
    case CZibMidDoc::Result::Ok:
        Modify(false);
        RememberFolder();
        return true;
    case CZibMidDoc::Result::WriteFailed:
        ZibMessageBox(kMsgCannotOpenFile, "OnSaveDocument", wxOK | wxICON_EXCLAMATION);
        return false;
    default:
        ZibMessageBox(kMsgCannotRecreateImage, "OnSaveDocument", wxOK | wxICON_EXCLAMATION);
        return false;
    }
}

void CZibMidWxDoc::OnFileSave(wxCommandEvent&)
{
    Save();
}

void CZibMidWxDoc::OnFileSaveAs(wxCommandEvent&)
{
    SaveAs();
}

void CZibMidWxDoc::OnFileClose(wxCommandEvent&)
{
    // As the window's own close: refused while MIDI plays.
    if (m_trackView && m_trackView->GetFrame()) m_trackView->GetFrame()->Close();
}

// ---- Text viewer -----------------------------------------------------------

void CZibMidWxDoc::CloseTextViewer()
{
    if (m_TextViewerOpen && m_TextViewer) {
        wxWindow* viewer = m_TextViewer;
        m_TextViewerOpen = 0;
        m_TextViewer = nullptr;
        viewer->Close(true);
    }
    m_TextViewerOpen = 0;
    m_TextViewer = nullptr;
}

bool CZibMidWxDoc::ShowInTextViewer(const wxString& titlePrefix, const std::string& path)
{
    CMainFrame* frame = CMainFrame::Get();
    CTextViewer* viewer = frame ? frame->OpenTextViewer(titlePrefix, &m_TextViewerOpen, this, 1) : nullptr;
    if (!viewer) return false;
    if (!viewer->TextCtrl()) {
        viewer->Close(true);
        return false;
    }
    m_TextViewer = viewer;
    m_TextViewerOpen = 1;
    // The viewer goes by itself when the user closes it; it may also outlive
    // the document, whose closing only asks it to close.
    wxWeakRef<CZibMidWxDoc> self(this);
    viewer->Bind(wxEVT_DESTROY, [self, viewer](wxWindowDestroyEvent& event) {
        event.Skip();
        if (self && event.GetEventObject() == viewer && self->m_TextViewer == viewer) {
            self->m_TextViewer = nullptr;
            self->m_TextViewerOpen = 0;
        }
    });
    viewer->SetTitlePrefix(titlePrefix);
    viewer->LoadFile(path);
    return true;
}

// ---- Text dumps ------------------------------------------------------------

std::string CZibMidWxDoc::DumpFileName() const
{
    std::string name = TitleText();
    if (const size_t dot = name.find_last_of('.'); dot != std::string::npos) name.erase(dot);
    return name + ".txt";
}

void CZibMidWxDoc::OnFileTextDump(wxCommandEvent&)
{
    if (!m_model.HasTrackRecords()) return;
    CloseTextViewer();
    const std::string output = PathInFolder(m_model.Folder(), DumpFileName());
    if (m_model.DumpMidiToTextFile(output, m_model.Path()) != 0) {
        ZibMessageBox(kMsgCannotOpenReport, "DumpMidiToTextFile", wxOK | wxICON_ERROR);
        ZibMessageBox(kMsgCannotUpdateDescription, CZibApp::kAppName, wxOK | wxICON_EXCLAMATION);
        return;
    }
    wxBusyCursor wait;
    if (!ShowInTextViewer(UiTextWx("Midi file text description: "), output))
        ZibMessageBox(kMsgCannotCreateViewer, CZibApp::kAppName, wxOK | wxICON_EXCLAMATION);
}

void CZibMidWxDoc::OnMidiToText(wxCommandEvent&)
{
    if (!m_model.HasTrackRecords()) return;
    CZibFileDialog dlg(mainFrame(), UiTextWx("MIDI File Text Dump"), wxFromUtf8(m_model.Folder()),
                       wxFromUtf8(DumpFileName()), UiTextWx(kDumpFilter) + "|*.TXT;*.txt",
                       wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return;
    const std::string output = withExtension(wxToUtf8(dlg.GetPath()), ".TXT");
    wxBusyCursor wait;
    if (m_model.DumpMidiToTextFile(output, m_model.Path()) != 0) {
        ZibMessageBox(kMsgCannotOpenReport, "DumpMidiToTextFile", wxOK | wxICON_ERROR);
        ZibMessageBox(kMsgCannotUpdateDescription, CZibApp::kAppName, wxOK | wxICON_EXCLAMATION);
    }
}

// ---- MIDI to style ---------------------------------------------------------

void CZibMidWxDoc::OnUtilMidiToSty(wxCommandEvent&)
{
    RunMidiToStyle(StyleSeries::Wq);
}

void CZibMidWxDoc::OnUtilMidiToQeSty(wxCommandEvent&)
{
    RunMidiToStyle(StyleSeries::Qe);
}

void CZibMidWxDoc::RunMidiToStyle(StyleSeries series)
{
    if (m_model.RawImage().empty()) return;
    ZibSettings& settings = wxGetApp().Settings();
    const bool wq = series == StyleSeries::Wq;
    const wxString defaultName = wxFromCp1252(MidiToStyleDefaultName(wxToCp1252(GetUserReadableName()), series));
    const wxString folder = wxFromUtf8(m_model.Folder());
    const wxString filter = UiTextWx(kStyleFilter) + "|*.STY;*.sty";
    const long style = wxFD_SAVE | wxFD_OVERWRITE_PROMPT;

    std::string target;
    uint32_t model = 'F';
    if (wq) {
        CFileDlgMidiToSty dlg(mainFrame(), localized(kMsgConvertToWqStyle), folder, defaultName, filter, style);
        dlg.SetModelLetter(uint32_t(settings.DefaultKbdType));
        if (dlg.ShowModal() != wxID_OK) return;
        settings.DefaultKbdType = int(dlg.ModelLetter());
        settings.WriteSetting("DefaultKbdType");
        model = uint32_t(settings.DefaultKbdType);
        target = wxToUtf8(dlg.GetPath());
    } else {
        CZibFileDialog dlg(mainFrame(), localized(kMsgConvertToQeStyle), folder, defaultName, filter, style);
        if (dlg.ShowModal() != wxID_OK) return;
        target = wxToUtf8(dlg.GetPath());
    }
    target = withExtension(target, ".STY");

    MidiToStyleOutcome outcome;
    const std::string logPath = PathInFolder(m_model.Folder(), kMidiToStyleLogName);
    {
        wxBusyCursor wait;
        WqStyleConvertSettings wqSettings;
        wqSettings.keyChordDetermination = settings.KeyChordDetermination;
        wqSettings.keyChord = settings.KeyChord;
        wqSettings.chordDetermination = settings.ChordDetermination;
        wqSettings.chordTable = settings.ChordTable;
        wqSettings.ignoreFlags = settings.Midi2StyIgnoreFlags;
        QeStyleConvertSettings qeSettings;
        qeSettings.keyChordDetermination = settings.QeKeyChordDetermination;
        qeSettings.keyChord = settings.QeKeyChord;
        qeSettings.chordDetermination = settings.QeChordDetermination;
        qeSettings.chordTable = settings.QeChordTable;
        outcome = zib::RunMidiToStyle(m_model, series, target, model, wqSettings, qeSettings, logPath);
    }
    if (outcome.code == 0) {
        wxGetApp().OpenDocumentFile(target);
        return;
    }

    const wxString caption = wq ? "OnUtilMidiToSty" : "OnUtilMidiToQeSty";
    const wxString error = wxFromCp1252(outcome.errorText);
    if (!outcome.logWritten) {
        ZibTextBox(wxString::Format(UiTextWx("ERROR! %s"), error), caption, wxOK | wxICON_EXCLAMATION);
        return;
    }
    const int answer = ZibTextBox(wxString::Format(UiTextWx("ERROR! %s\n\nDo you want to see TXT report?"), error),
                                  caption, wxYES_NO | wxICON_EXCLAMATION);
    if (answer != wxID_YES) return;
    wxBusyCursor wait;
    CloseTextViewer();
    const wxString prefix = UiTextWx(wq ? "MidiToStyle text report: " : "MidiToQeStyle text report: ");
    if (!ShowInTextViewer(prefix, logPath))
        ZibMessageBox(kMsgCannotCreateViewer, CZibApp::kAppName, wxOK | wxICON_EXCLAMATION);
}

// ---- Edit commands ---------------------------------------------------------

void CZibMidWxDoc::OnEditSelectAll(wxCommandEvent&)
{
    if (m_trackView && m_model.HasTrackRecords()) m_trackView->SelectAllRows();
}

void CZibMidWxDoc::OnEditUndo(wxCommandEvent&)
{
    if (Playing()) return;
    if (m_model.Undo()) Modify(true);
}

void CZibMidWxDoc::OnEditRedo(wxCommandEvent&)
{
    if (m_model.Redo()) Modify(true);
}

void CZibMidWxDoc::OnUpdateHasTracks(wxUpdateUIEvent& event)
{
    event.Enable(m_model.HasTrackRecords());
}

void CZibMidWxDoc::OnUpdateUndo(wxUpdateUIEvent& event)
{
    event.Enable(m_model.UndoManager().CanUndo() && !Playing());
}

void CZibMidWxDoc::OnUpdateRedo(wxUpdateUIEvent& event)
{
    event.Enable(m_model.UndoManager().CanRedo());
}

} // namespace zib
