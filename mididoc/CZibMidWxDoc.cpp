#include "mididoc/CZibMidWxDoc.h"

#include "ui/ShellServices.h"
#include "ui/ZibSubsystems.h"
#include "ui/core/ZibSettings.h"
#include "ui/CTextViewer.h"
#include "ui/CZibFileDialog.h"
#include "ui/ZibMessageBox.h"
#include "ui/CZibMdiChild.h"
#include "mididoc/CChildSplitterMidFrame.h"
#include "mididoc/CMidiEditorFrame.h"
#include "mididoc/CZibEventClipboard.h"
#include "mididoc/CZibMidView.h"
#include "mididoc/MidiDocSubsystem.h"
#include "mididoc/core/MidiTransport.h"
#include "mididoc/core/MidiDocMenu.h"
#include "platform/WxText.h"

#include <wx/filename.h>
#include <wx/utils.h>

namespace zib {

wxIMPLEMENT_DYNAMIC_CLASS(CZibMidWxDoc, wxDocument);

namespace {

// Messages of the localized table
constexpr int kMsgCannotOpenFile = 9;
constexpr int kMsgCannotRecreateImage = 65;

constexpr const char* kMidiFilter = "MIDI Files (*.MID)";

// A path with the default extension when its file name has none.
std::string withExtension(std::string path, std::string_view extension)
{
    if (!std::filesystem::path(path).has_extension()) path += extension;
    return path;
}

} // namespace

CZibMidWxDoc::CZibMidWxDoc() : m_seams(*this)
{
    ShellServices& app = Shell();
    MidiDocHooks hooks;
    hooks.views = &m_seams;
    hooks.dialogs = &m_seams;
    hooks.reports = &m_seams;
    hooks.clipboard = &CZibEventClipboard::Instance();
    hooks.enumerateDevices = [] {
        if (auto& enumerate = Shell().Subsystems().EnumMidiDevices) enumerate();
    };
    hooks.loadInstruments = [] {
        if (auto& load = MidiWindowHooks().LoadInstruments) load();
    };
    hooks.names = MidiWindowHooks().Names;
    m_model = std::make_unique<MidiDocModel>(app.Settings(), app.Playing(), std::move(hooks));

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
    // The windows enable the commands (MidiCommandState).
}

CZibMidWxDoc* CZibMidWxDoc::OfWindow(wxWindow* window)
{
    auto* child = dynamic_cast<CZibMdiChild*>(window);
    if (!child || child->DocumentTitle().empty()) return nullptr; // none, or one that is going
    return dynamic_cast<CZibMidWxDoc*>(child->OwnerDocument());
}

CZibMidWxDoc::~CZibMidWxDoc()
{
    CloseEditorFrames();
    CloseTextViewer();
    // The model's last clean-up must not reach windows that are going.
    m_model->SetHooks(MidiDocHooks{});
}

void CZibMidWxDoc::SyncFromModel()
{
    wxDocument::Modify(m_model->IsModified());
}

// ---- Opening and creating --------------------------------------------------

bool CZibMidWxDoc::FinishLoading(MidiDocModel::OpenResult result)
{
    if (result != MidiDocModel::OpenResult::Ok) {
        if (m_trackView) m_trackView->ClearList();
        m_model->DeleteContents();
        return false;
    }
    UpdateAllViews();
    // The bar view fills from the document; a song it cannot show ends the open.
    if (m_transport && !m_transport->Populate()) {
        if (m_trackView) m_trackView->ClearList();
        m_model->DeleteContents();
        return false;
    }
    CChildSplitterMidFrame::ShowTransport(*this);
    return true;
}

bool CZibMidWxDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument()) return false;
    ShellServices& app = Shell();
    const auto result = m_model->OnNewDocument(app.NewDocSubType());
    if (result != MidiDocModel::OpenResult::Ok) return FinishLoading(result);
    // Not saved yet: Save asks for a name.
    SetFilename(wxFromUtf8(m_model->Path().string()), false);
    SetTitle("NewFile");
    Modify(false);
    return FinishLoading(result);
}

bool CZibMidWxDoc::OnOpenDocument(const wxString& path)
{
    const auto result = m_model->OnOpenDocument(std::filesystem::path(wxToUtf8(path)));
    if (!FinishLoading(result)) return false;
    SetFilename(path, true);
    Modify(false);
    SetDocumentSaved(true);
    // The main window's bars and menus for the new window, laid out while its
    // painting is held (held again: a progress window of the load may have
    // let it go)
    if (ShellServices* main = ShellFrame() ? ShellServices::Get() : nullptr) {
        main->HoldPaintingUntilIdle();
        main->ActiveChildChanged();
    }
    return true;
}

bool CZibMidWxDoc::DeleteContents()
{
    CloseEditorFrames();
    m_model->DeleteContents();
    CloseTextViewer();
    return wxDocument::DeleteContents();
}

void CZibMidWxDoc::CloseAfterFailure()
{
    if (m_trackView) m_trackView->ClearList();
    DeleteContents();
    m_model->SetModified(false);
    // The windows go once the command that failed has returned.
    CallAfter([this] { DeleteAllViews(); });
}

void CZibMidWxDoc::CloseEditorFrames()
{
    // The frames go on the next idle; their lists go now, with the document.
    for (auto [editor, open] : {std::pair{&m_EventEditor, &m_EventEditorOpen}, {&m_TempoEditor, &m_TempoEditorOpen}}) {
        if (!*open || !*editor) continue;
        wxWindow* window = *editor;
        *open = 0;
        *editor = nullptr;
        if (auto* frame = dynamic_cast<CMidiEditorFrame*>(window)) frame->DetachDocument();
        window->Close(true);
    }
}

// ---- Changed flag, close prompt and saving ---------------------------------

bool CZibMidWxDoc::IsModified() const
{
    return m_model->IsModified();
}

void CZibMidWxDoc::Modify(bool modified)
{
    m_model->SetModified(modified);
    wxDocument::Modify(modified);
}

bool CZibMidWxDoc::OnSaveModified()
{
    if (!IsModified()) return true;
    const wxString text = UiTextWx("Save changes to ") + GetUserReadableName();
    const wxString caption = wxFromUtf8(Shell().ExeName());
    MidiDocModel::CloseAnswer answer = MidiDocModel::CloseAnswer::Cancel;
    switch (ZibTextBox(text, caption, wxYES_NO | wxCANCEL | wxICON_EXCLAMATION)) {
    case wxID_YES:
        answer = MidiDocModel::CloseAnswer::Yes;
        break;
    case wxID_NO:
        answer = MidiDocModel::CloseAnswer::No;
        break;
    default:
        break;
    }
    const auto decision = MidiDocModel::SaveModifiedDecision(true, answer);
    // A save that fails or is cancelled keeps the document open with its changes.
    if (decision.save) return Save();
    if (decision.close) DropChanges();
    return decision.close;
}

bool CZibMidWxDoc::Save()
{
    if (!GetDocumentSaved() || GetFilename().empty()) return SaveAs();
    return DoSaveDocument(GetFilename());
}

bool CZibMidWxDoc::SaveAs()
{
    if (!m_model->HasTrackRecords()) return false;
    const wxString name = GetDocumentSaved() ? wxFileName(GetFilename()).GetFullName() : wxString("NewFile.mid");
    CZibFileDialog dlg(ShellFrame(), UiTextWx("Save As"), wxFromUtf8(m_model->Folder().string()), name,
                       UiTextWx(kMidiFilter) + "|*.MID;*.mid", wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return false;
    const std::string path = withExtension(wxToUtf8(dlg.GetPath()), ".mid");
    if (!MaySaveAs(wxFromUtf8(path)) || !DoSaveDocument(wxFromUtf8(path))) return false;
    SetFilename(wxFromUtf8(path), true);
    SetDocumentSaved(true);
    Shell().AddToRecentFileList(path);
    return true;
}

bool CZibMidWxDoc::DoSaveDocument(const wxString& path)
{
    MidiDocModel::SaveResult result;
    {
        wxBusyCursor wait;
        result = m_model->SaveAs(std::filesystem::path(wxToUtf8(path)));
    }
    switch (result) {
    case MidiDocModel::SaveResult::Ok:
        Modify(false);
        return true;
    case MidiDocModel::SaveResult::WriteFailed:
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

void CZibMidWxDoc::OnViewerDestroyed(wxWindowDestroyEvent& event)
{
    event.Skip();
    if (event.GetEventObject() == m_TextViewer) {
        m_TextViewer = nullptr;
        m_TextViewerOpen = 0;
    }
}

void CZibMidWxDoc::CloseTextViewer()
{
    if (m_TextViewer) m_TextViewer->Unbind(wxEVT_DESTROY, &CZibMidWxDoc::OnViewerDestroyed, this);
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
    ShellServices* frame = ShellFrame() ? ShellServices::Get() : nullptr;
    CTextViewer* viewer = frame ? frame->OpenTextViewer(titlePrefix, &m_TextViewerOpen, this, 1) : nullptr;
    if (!viewer) return false;
    if (!viewer->TextCtrl()) {
        viewer->Close(true);
        return false;
    }
    m_TextViewer = viewer;
    m_TextViewerOpen = 1;
    // The viewer goes by itself when the user closes it.
    viewer->Bind(wxEVT_DESTROY, &CZibMidWxDoc::OnViewerDestroyed, this);
    viewer->SetTitlePrefix(titlePrefix);
    viewer->LoadFile(path);
    return true;
}

// ---- Commands --------------------------------------------------------------

void CZibMidWxDoc::OnFileTextDump(wxCommandEvent&)
{
    m_model->SetTitle(wxToUtf8(GetUserReadableName()));
    m_model->OnFileTextDump();
}

void CZibMidWxDoc::OnMidiToText(wxCommandEvent&)
{
    m_model->SetTitle(wxToUtf8(GetUserReadableName()));
    m_model->OnMidiToText();
}

void CZibMidWxDoc::OnUtilMidiToSty(wxCommandEvent&)
{
    m_model->SetTitle(wxToUtf8(GetUserReadableName()));
    m_model->OnUtilMidiToSty();
}

void CZibMidWxDoc::OnUtilMidiToQeSty(wxCommandEvent&)
{
    m_model->SetTitle(wxToUtf8(GetUserReadableName()));
    m_model->OnUtilMidiToQeSty();
}

void CZibMidWxDoc::OnEditSelectAll(wxCommandEvent&)
{
    if (m_trackView && m_model->HasTrackRecords()) m_trackView->SelectAllRows();
}

void CZibMidWxDoc::OnEditUndo(wxCommandEvent&)
{
    m_model->Undo();
    SyncFromModel();
}

void CZibMidWxDoc::OnEditRedo(wxCommandEvent&)
{
    m_model->Redo();
    SyncFromModel();
}

} // namespace zib
