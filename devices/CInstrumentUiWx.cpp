#include "devices/CInstrumentUiWx.h"

#include "ui/ShellServices.h"
#include "ui/ZibMessageBox.h"
#include "devices/dialogs/CAddInstrumentsDlg.h"
#include "devices/dialogs/CProgressDlg.h"
#include "platform/WxText.h"

#include <wx/utils.h>

namespace zib {

void CInstrumentUiWx::Message(InstrumentMessage message, const std::string& detail)
{
    wxWindow* parent = ShellFrame();
    const long style = wxOK | wxICON_EXCLAMATION;
    switch (message) {
    case InstrumentMessage::CannotReadInstrumentNames:
        ZibMessageBox(71, "CInstrumentDefs", style, parent);
        break;
    case InstrumentMessage::CannotReadInstrumentDefinitions:
        ZibMessageBox(6, "LoadInstrumentDefinitions", style, parent);
        break;
    case InstrumentMessage::CannotReadDefinitionsFromFile:
        ZibTextBox(wxFromUtf8("Cannot read instrument definitions from file: " + detail), "ImportInstrumentsFromIns",
                   style, parent);
        break;
    case InstrumentMessage::CannotExtractInstrument:
        ZibMessageBox(72, "OnExtractItem", style, parent);
        break;
    case InstrumentMessage::CannotOpenOutputFile:
        ZibTextBox("Error - Cannot open output file", "OnExtractItem", style, parent);
        break;
    }
}

void CInstrumentUiWx::ProgressStart(InstrumentProgress what)
{
    ZibMdiParentFrame* frame = ShellFrame();
    if (!frame || progress_) return;
    progress_ = CProgressDlg::Create(frame);
    progress_->SetTitle(UiTextWx(what == InstrumentProgress::LoadingInstrumentDefinitions
                                     ? "Loading Instrument Definitions..."
                                     : "Loading Port-Instrument Relations..."));
    // Over the main window's client area: at 30,100, as wide as the area, 60 high.
    const wxPoint origin = frame->ClientToScreen(wxPoint(30, 100));
    progress_->SetSize(origin.x, origin.y, frame->GetClientSize().GetWidth(), 60);
    progress_->Update();
}

void CInstrumentUiWx::ProgressStep()
{
    if (progress_) progress_->StepIt();
}

void CInstrumentUiWx::ProgressEnd()
{
    if (progress_) progress_->Destroy();
    progress_ = nullptr;
}

void CInstrumentUiWx::BeginWait()
{
    wxBeginBusyCursor();
}

void CInstrumentUiWx::EndWait()
{
    wxEndBusyCursor();
}

bool CInstrumentUiWx::ChooseInstruments(std::vector<std::string>& names)
{
    CAddInstrumentsDlg dlg(wxGetActiveWindow() ? wxGetActiveWindow() : ShellFrame(), names);
    return dlg.ShowModal() == wxID_OK;
}

} // namespace zib
