#include "devices/dialogs/CNoMidiPortsDlg.h"

#include "ui/ShellServices.h"
#include "ui/texts/ZibMessageTable.h"
#include "devices/core/MidiPortsDlgModel.h"
#include "platform/WxText.h"

#include <wx/stattext.h>

namespace zib {

CNoMidiPortsDlg::CNoMidiPortsDlg(wxWindow* parent, int message)
    : CZibDialog(parent, "No MIDI ports selected !!!")
{
    const int language = Shell().Language();
    auto* content = new wxBoxSizer(wxVERTICAL);
    content->Add(new wxStaticText(this, kIdWarning, wxFromUtf8(ZibMessage(message, language))), 0, wxBOTTOM,
                 6);
    content->Add(
        new wxStaticText(this, kIdNote, wxFromUtf8(ZibMessage(MidiPortsDlgModel::kMsgNoPlayback, language))),
        0, wxBOTTOM, 12);
    content->Add(ButtonRow({{wxID_OK, "Go back to port select dialog"},
                            {wxID_CANCEL, "Continue with no port selected"}}),
                 0, wxEXPAND);
    Finish(content);
}

} // namespace zib
