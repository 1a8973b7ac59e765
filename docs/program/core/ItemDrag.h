#pragma once

#include "docs/program/core/ProgramDocPort.h"

#include <vector>

namespace zib {

// The drag state of an item list view. `source` is set while a drag that
// started in the view runs and is cleared by a drop into the same view that
// deleted the dragged rows itself, so the end of the drag does not delete a
// second time (by then those rows hold the dropped items). `running` lasts
// the whole drag.
struct ItemDrag {
    bool source = false;
    bool running = false;
    std::vector<int> rows; // the dragged rows, rising

    void Begin(std::vector<int> dragged)
    {
        rows = std::move(dragged);
        source = running = true;
    }
    // Whether the end of the drag still has the dragged rows to delete.
    bool End(bool moved)
    {
        const bool remove = moved && source;
        source = running = false;
        return remove;
    }
};

// How a list places dropped items when the dragged rows came from the same
// list and lay above the drop row: the drop row less the rows deleted before
// it (arrangements), or one row further (programs and performances, whose
// items land after the row they were dropped on).
enum class DropShift { DeletedBefore, DeletedBeforePlusOne };

// Whether a drop may go on: a drop into the span of the rows dragged from
// the same list is refused with its message.
bool DropAllowed(ProgramDocPort& port, const ItemDrag& drag, int target);
// The drop row once the dragged rows of a move inside the list are deleted.
int TargetAfterMove(int target, const std::vector<int>& dragged, DropShift shift);
// After a paste or drop: rows first .. first + count - 1 selected, the first
// focused, the others deselected, and `show` scrolled into view.
void SelectPastedRows(ProgramDocPort& port, int first, int count, int show);

} // namespace zib
