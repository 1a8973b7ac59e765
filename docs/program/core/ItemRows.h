#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace zib {

// Row bookkeeping shared by the item lists of the program, performance and
// arrangement documents.

// The rows a command acts on: the selected rows, else the focused row, else
// none; from the last to the first, rows outside 0..count-1 left out.
std::vector<int> MarkedRows(const std::vector<int>& selected, int focused, int count);

// Every item's position becomes its index in the list.
template <class Item> void RenumberPositions(std::vector<Item>& items)
{
    for (size_t i = 0; i < items.size(); ++i)
        items[i].position = uint32_t(i);
}

// After a drop: the `count` items appended at the end move up one row at a
// time, whole, until the first of them stands at `target` (their order kept).
// A target past the rows before them leaves them where they are.
template <class Item> void MoveAppendedTo(std::vector<Item>& items, int count, int target)
{
    const int size = int(items.size());
    if (count <= 0 || count > size || target < 0) return;
    const int first = size - count;
    if (target >= first) return;
    std::rotate(items.begin() + target, items.begin() + first, items.end());
}

// Whether a drop row lies within the span from the first to the last dragged row.
bool DropsInsideSelection(int target, const std::vector<int>& draggedRows);

} // namespace zib
