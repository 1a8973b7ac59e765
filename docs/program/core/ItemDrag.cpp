#include "docs/program/core/ItemDrag.h"

#include "docs/program/core/ItemRows.h"

namespace zib {

bool DropAllowed(ProgramDocPort& port, const ItemDrag& drag, int target)
{
    if (!drag.source || !DropsInsideSelection(target, drag.rows)) return true;
    port.Message(DocMessage::Numbered(37, "OnDrop"));
    return false;
}

int TargetAfterMove(int target, const std::vector<int>& dragged, DropShift shift)
{
    if (target < 0) return target;
    int before = 0;
    for (int row : dragged)
        if (row < target) ++before;
    if (before == 0) return target;
    return shift == DropShift::DeletedBeforePlusOne ? target + 1 - before : target - before;
}

void SelectPastedRows(ProgramDocPort& port, int first, int count, int show)
{
    std::vector<int> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(first + i);
    port.SetSelection(rows, count > 0 ? first : -1);
    if (show >= 0) port.ScrollTo(show);
    port.RedrawAll();
}

} // namespace zib
