#include "mididoc/CZibMidWxSeams.h"

#include "app/CMainFrame.h"
#include "app/CZibApp.h"
#include "app/CZibFileDialog.h"
#include "app/ZibMessageBox.h"
#include "app/dialogs/CFileDialogs.h"
#include "app/texts/ZibMessageTable.h"
#include "mididoc/CZibMidView.h"
#include "mididoc/CZibMidWxDoc.h"
#include "mididoc/core/MidiDocMessages.h"
#include "platform/WxText.h"

#include <wx/filename.h>
#include <wx/utils.h>

namespace zib {

namespace {

// A path with the default extension when its file name has none.
std::filesystem::path withExtension(std::filesystem::path path, std::string_view extension)
{
    if (!path.has_extension()) path += std::string(extension);
    return path;
}

long iconStyle(DocMessage::Icon icon)
{
    switch (icon) {
    case DocMessage::Icon::Stop:
        return wxICON_ERROR;
    case DocMessage::Icon::Information:
        return wxICON_INFORMATION;
    case DocMessage::Icon::Question:
        return wxICON_QUESTION;
    case DocMessage::Icon::Exclamation:
    default:
        return wxICON_EXCLAMATION;
    }
}

wxString captionOf(const DocMessage& m)
{
    return m.caption.empty() ? wxString(CZibApp::kAppName) : wxFromUtf8(m.caption);
}

wxString textOf(const DocMessage& m)
{
    if (m.message != DocMessage::kNoMessage) return wxFromUtf8(ZibMessage(m.message, wxGetApp().Language()));
    wxString text = UiTextWx(m.uiText);
    text.Replace("%s", wxFromUtf8(m.extra), false);
    return text;
}

} // namespace

void CZibMidWxSeams::Refill()
{
    if (CZibMidView* view = m_doc.TrackView()) view->RefreshViews(false);
}

void CZibMidWxSeams::Redraw()
{
    if (CZibMidView* view = m_doc.TrackView()) view->RefreshViews(false);
}

void CZibMidWxSeams::Freeze()
{
    if (CZibMidView* view = m_doc.TrackView()) view->FreezeViews();
}

void CZibMidWxSeams::Thaw()
{
    if (CZibMidView* view = m_doc.TrackView()) view->RefreshViews(false);
}

void CZibMidWxSeams::TrackRowsChanged()
{
    if (CZibMidView* view = m_doc.TrackView()) view->RefreshViews(true);
}

void CZibMidWxSeams::CloseEditors()
{
    m_doc.CloseEditorFrames();
}

void CZibMidWxSeams::CloseViewer()
{
    m_doc.CloseTextViewer();
}

bool CZibMidWxSeams::OpenViewer(std::string_view titlePrefix, const std::filesystem::path& file)
{
    return m_doc.ShowInTextViewer(UiTextWx(titlePrefix), file.string());
}

bool CZibMidWxSeams::OpenDocument(const std::filesystem::path& file)
{
    return wxGetApp().OpenDocumentFile(file.string()) != nullptr;
}

std::optional<std::filesystem::path> CZibMidWxSeams::DumpTarget(const std::string& defaultName,
                                                                const std::filesystem::path& folder)
{
    CZibFileDialog dlg(CMainFrame::Get(), UiTextWx("MIDI File Text Dump"), wxFromUtf8(folder.string()),
                       wxFromUtf8(defaultName), UiTextWx("Zib Text Dump (*.TXT)") + "|*.TXT;*.txt",
                       wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dlg.ShowModal() != wxID_OK) return std::nullopt;
    return withExtension(wxToUtf8(dlg.GetPath()), ".TXT");
}

std::optional<MidiToStyleTarget> CZibMidWxSeams::MidiToStyleFile(StyleSeries series, const std::string& defaultName,
                                                                 const std::filesystem::path& folder, uint32_t model)
{
    const wxString filter = UiTextWx("Style Files (*.STY)") + "|*.STY;*.sty";
    const long style = wxFD_SAVE | wxFD_OVERWRITE_PROMPT;
    const wxString name = wxFromCp1252(defaultName);
    const wxString dir = wxFromUtf8(folder.string());
    MidiToStyleTarget target;
    if (series == StyleSeries::Wq) {
        const wxString title = wxFromUtf8(ZibMessage(kMsgConvertToWqStyle, wxGetApp().Language()));
        CFileDlgMidiToSty dlg(CMainFrame::Get(), title, dir, name, filter, style);
        dlg.SetModelLetter(model);
        if (dlg.ShowModal() != wxID_OK) return std::nullopt;
        target.model = dlg.ModelLetter();
        target.path = wxToUtf8(dlg.GetPath());
    } else {
        const wxString title = wxFromUtf8(ZibMessage(kMsgConvertToQeStyle, wxGetApp().Language()));
        CZibFileDialog dlg(CMainFrame::Get(), title, dir, name, filter, style);
        if (dlg.ShowModal() != wxID_OK) return std::nullopt;
        target.path = wxToUtf8(dlg.GetPath());
    }
    target.path = withExtension(target.path, ".STY");
    return target;
}

void CZibMidWxSeams::Report(const DocMessage& m)
{
    ZibTextBox(textOf(m), captionOf(m), wxOK | iconStyle(m.icon));
}

bool CZibMidWxSeams::AskYesNo(const DocMessage& m)
{
    return ZibTextBox(textOf(m), captionOf(m), wxYES_NO | iconStyle(m.icon)) == wxID_YES;
}

void CZibMidWxSeams::BeginWait()
{
    wxBeginBusyCursor();
}

void CZibMidWxSeams::EndWait()
{
    wxEndBusyCursor();
}

} // namespace zib
