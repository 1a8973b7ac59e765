#include "docs/style/CItemWxDoc.h"

#include "ui/ShellServices.h"
#include "ui/core/ZibSettings.h"
#include "ui/CZibFileDialog.h"
#include "ui/ZibMessageBox.h"
#include "ui/ZibSubsystems.h"
#include "docs/style/CItemListView.h"
#include "docs/style/CStyPropSplitterFrameWnd.h"
#include "docs/style/StyleGuiSupport.h"
#include "platform/FileIo.h"
#include "platform/WxText.h"

#include <filesystem>
#include <wx/app.h>
#include <wx/msgdlg.h>

namespace zib {

CItemWxDoc::CItemWxDoc() = default;

void CItemWxDoc::AttachModel()
{
    Model().SetPort(&port_);
    Model().SetModifiedListener([this] { Modify(true); });
}

TrackEditorOwner& CItemWxDoc::TrackOwner()
{
    if (!trackOwner_) {
        // The track editor's list copies, pastes, asks and reports as the
        // MIDI document's lists do.
        MidiDocHooks hooks;
        if (const auto& fill = Shell().Subsystems().FillTrackEditorHooks) fill(hooks);
        trackOwner_ = std::make_unique<TrackEditorOwner>(
            IsPad() ? EventListOwner::kPadDocument : EventListOwner::kStyleDocument, ModelLetter(),
            Shell().Settings(), Shell().Playing(), std::move(hooks));
        trackOwner_->onModified = [this] { SetModelModified(); };
    }
    return *trackOwner_;
}

void CItemWxDoc::CloseToolWindows()
{
    CloseTrackEventWindow();
    for (auto [window, open] : {std::pair{&m_EditFrame, &m_EditFrameOpen}, {&m_TextDumpWindow, &m_TextDumpOpen}}) {
        if (*open && *window) (*window)->Close(true);
        *window = nullptr;
        *open = 0;
    }
}

void CItemWxDoc::CloseTrackEventWindow()
{
    // The flag goes first: the window then knows that its sequence is not
    // its own to write back.
    TrackEditWindow* window = m_TrackEventOpen ? m_TrackEventWindow : nullptr;
    m_TrackEventWindow = nullptr;
    m_TrackEventOpen = 0;
    if (window && window->Window()) window->Window()->Close(true);
    // The undo history goes with the window that made it.
    if (trackOwner_) trackOwner_->BindSequence(nullptr);
}

bool CItemWxDoc::WriteBackEditFrame()
{
    if (!m_EditFrameOpen) return true;
    auto* frame = dynamic_cast<CStyPropSplitterFrameWnd*>(m_EditFrame);
    if (!frame) return true;
    const int result = frame->WriteBack();
    if (result == -2) AbortAndClear();
    return result >= 0;
}

void CItemWxDoc::RefreshList()
{
    for (wxObject* view : GetViews())
        if (auto* list = dynamic_cast<CItemListView*>(view)) list->RefreshRows();
}

void CItemWxDoc::RefreshSettings()
{
    if (!ShellServices::Get()) return;
    const ZibSettings& settings = Shell().Settings();
    StyDocSettings values;
    values.language = Shell().Language();
    values.styToMidiType = settings.StyToMidiType;
    values.playPercOnDrumChan = settings.PlayPercOnDrumChan != 0;
    values.lastOpenedDirectory = std::filesystem::u8path(settings.LastOpenedDirectory);
    values.setLastOpenedDirectory = [](const std::filesystem::path& folder) {
        const std::u8string text = folder.u8string();
        Shell().SetLastOpenedDirectory(std::string(text.begin(), text.end()));
    };
    values.qeCollect.qeKeyChordDetermination = settings.QeKeyChordDetermination;
    if (!settings.QeKeyChord.empty()) values.qeCollect.qeKeyChord = settings.QeKeyChord;
    Model().SetSettings(std::move(values));
}

void CItemWxDoc::AbortAndClear()
{
    CloseToolWindows();
    Model().Clear();
    Modify(false);
    UpdateAllViews();
    if (wxView* view = GetFirstView())
        if (wxWindow* frame = view->GetFrame()) frame->CallAfter([frame] { frame->Close(true); });
}

bool CItemWxDoc::OnOpenDocument(const wxString& path)
{
    const std::string file = wxToUtf8(path);
    std::vector<uint8_t> image;
    switch (readWholeFile(file, image)) {
    case FileIoError::None:
        break;
    case FileIoError::TooLarge:
        ShowStyNotice(StyNotice::Numbered(stymsg::MemoryAllocationFailed, "Serialize", StyNoticeIcon::Stop));
        return false;
    default:
        ShowStyNotice(StyNotice::Numbered(stymsg::CannotOpenFile, "Serialize", StyNoticeIcon::Stop));
        return false;
    }
    RefreshSettings();
    if (!Model().OpenImage(std::move(image), file)) return false;
    SetFilename(path, true);
    SetDocumentSaved(true);
    Modify(false);
    UpdateAllViews();

    // The file's folder becomes the last opened one (the process's current
    // folder stays where the program was started).
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (ShellServices::Get()) {
        ZibSettings& settings = Shell().Settings();
        settings.LastOpenedFileType = int(Model().m_FileKind);
        settings.WriteSetting("LastOpenedFileType");
        Shell().SetLastOpenedDirectory(folder.string());
    }
    return true;
}

bool CItemWxDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument()) return false;
    RefreshSettings();
    Model().NewDocument();
    UpdateAllViews();
    return true;
}

bool CItemWxDoc::OnSaveModified()
{
    if (!IsModified()) return true;
    const wxString text = UiTextWx("Save changes to ") + GetUserReadableName();
    const wxString caption = ShellServices::Get() ? wxFromUtf8(Shell().ExeName()) : wxString(ShellServices::kAppName);
    switch (ZibTextBox(text, caption.empty() ? wxString(ShellServices::kAppName) : caption,
                       wxYES_NO | wxCANCEL | wxICON_WARNING)) {
    case wxID_YES:
        return Save();
    case wxID_NO:
        DropChanges();
        return true;
    default:
        return false;
    }
}

bool CItemWxDoc::SaveAs()
{
    const std::filesystem::path current(wxToUtf8(GetFilename()));
    CZibFileDialog dlg(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, UiTextWx("Save As"),
                       wxFromUtf8(current.parent_path().string()), wxFromUtf8(current.filename().string()),
                       StyFileFilter(SaveFilter()), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return false;
    const wxString path = dlg.GetPath();
    if (!MaySaveAs(path) || !OnSaveDocument(path)) return false;
    SetFilename(path, true);
    return true;
}

bool CItemWxDoc::DoSaveDocument(const wxString& path)
{
    // Every road to the file comes here (Save, Save As, the questions of
    // Close and Exit): the edit frame's edits go with it, or nothing goes.
    if (!WriteBackEditFrame()) return false;
    const std::vector<uint8_t> image = Model().BuildFileImage();
    if (image.empty()) return false;
    if (writeFileAtomically(wxToUtf8(path), image) != FileIoError::None) {
        ShowStyNotice(StyNotice::Numbered(stymsg::CannotOpenFile, "OnSaveDocument", StyNoticeIcon::Stop));
        return false;
    }
    return true;
}

bool CItemWxDoc::DeleteContents()
{
    CloseToolWindows();
    Model().Clear();
    return wxDocument::DeleteContents();
}

void CItemWxDoc::CheckAbort()
{
    // The model has been cleared already: its window goes without asking to save.
    if (Model().TakeAbortRequest()) AbortAndClear();
}

} // namespace zib
