#include "mididoc/CMidiToolBarB.h"

#include "ui/core/CommandIds.h"

namespace zib {

CMidiToolBarB::CMidiToolBarB(wxWindow* parent, CPositionEditA::TargetSource target, int language)
    : CMainToolBar(parent, MainBar::MidiSelection)
{
    from_ = new CPositionEditA(this, cmd::FromField, PositionEditAModel::Mode::From, target, 96);
    thru_ = new CPositionEditA(this, cmd::ThruField, PositionEditAModel::Mode::Thru, std::move(target), 96);
    SetButtons(ToolbarButtons(MainBar::MidiSelection), language);
}

wxControl* CMidiToolBarB::FieldFor(const ToolButtonDef& slot)
{
    if (slot.id == cmd::FromField) return from_;
    if (slot.id == cmd::ThruField) return thru_;
    return nullptr;
}

} // namespace zib
