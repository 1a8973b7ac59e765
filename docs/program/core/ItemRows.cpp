#include "docs/program/core/ItemRows.h"

#include <set>

namespace zib {

std::vector<int> MarkedRows(const std::vector<int>& selected, int focused, int count)
{
    std::set<int> rows;
    for (int row : selected)
        if (row >= 0 && row < count) rows.insert(row);
    if (rows.empty() && focused >= 0 && focused < count) rows.insert(focused);
    return {rows.rbegin(), rows.rend()};
}

bool DropsInsideSelection(int target, const std::vector<int>& draggedRows)
{
    if (target < 0 || draggedRows.empty()) return false;
    const auto [lo, hi] = std::minmax_element(draggedRows.begin(), draggedRows.end());
    return target >= *lo && target <= *hi;
}

} // namespace zib
