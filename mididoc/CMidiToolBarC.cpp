#include "mididoc/CMidiToolBarC.h"

#include "ui/core/CommandIds.h"

#include <wx/settings.h>

namespace zib {

CMidiToolBarC::CMidiToolBarC(wxWindow* parent, CSpinEdit::TargetSource target, int language)
    : CMainToolBar(parent, MainBar::MidiTempo)
{
    tempo_ = new CSpinEdit(this, cmd::TempoField, std::move(target), 48);
    tempo_->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    SetButtons(ToolbarButtons(MainBar::MidiTempo), language);
}

wxControl* CMidiToolBarC::FieldFor(const ToolButtonDef& slot)
{
    return slot.id == cmd::TempoField ? tempo_ : nullptr;
}

} // namespace zib
