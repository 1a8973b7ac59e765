#include "mididoc/CMidiToolBarA.h"

#include "ui/core/CommandIds.h"

namespace zib {

CMidiToolBarA::CMidiToolBarA(wxWindow* parent, CPositionEditA::TargetSource target, int language)
    : CMainToolBar(parent, MainBar::MidiPosition)
{
    position_ = new CPositionEditA(this, cmd::PositionField, PositionEditAModel::Mode::Current, std::move(target), 96);
    SetButtons(ToolbarButtons(MainBar::MidiPosition), language);
}

wxControl* CMidiToolBarA::FieldFor(const ToolButtonDef& slot)
{
    return slot.id == cmd::PositionField ? position_ : nullptr;
}

} // namespace zib
