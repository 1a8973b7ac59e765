#include "ulvarf/CRTClassList.h"

#include <algorithm>
#include <new>

namespace zib::ulvarf {

bool CRTClassList::Add(uint16_t classId)
{
    if (Contains(classId)) return false;
    try {
        if (ids_.size() == capacity_) {
            size_t grown = capacity_ ? capacity_ + kGrowBy : kInitialCapacity;
            ids_.reserve(grown);
            capacity_ = grown;
        }
        ids_.push_back(classId);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool CRTClassList::Contains(uint16_t classId) const
{
    return std::find(ids_.begin(), ids_.end(), classId) != ids_.end();
}

void CRTClassList::Clear()
{
    ids_ = {};
    capacity_ = 0;
}

} // namespace zib::ulvarf
