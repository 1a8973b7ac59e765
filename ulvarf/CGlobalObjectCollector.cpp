#include "ulvarf/CGlobalObjectCollector.h"

#include "ulvarf/CGlobalObjectBase.h"

#include <algorithm>

namespace zib::ulvarf {

CGlobalObjectCollector& CGlobalObjectCollector::Instance()
{
    static CGlobalObjectCollector collector;
    return collector;
}

void CGlobalObjectCollector::Register(CGlobalObjectBase* object)
{
    items_.insert(items_.begin(), object);
}

void CGlobalObjectCollector::Unregister(CGlobalObjectBase* object)
{
    items_.erase(std::remove(items_.begin(), items_.end(), object), items_.end());
}

void CGlobalObjectCollector::ProcessAttach()
{
    // A copy: a notification may not change the list under our feet.
    const std::vector<CGlobalObjectBase*> items = items_;
    for (CGlobalObjectBase* object : items) object->OnAttach();
    for (CGlobalObjectBase* object : items) object->OnAttached();
}

void CGlobalObjectCollector::ProcessDetach()
{
    const std::vector<CGlobalObjectBase*> items = items_;
    for (CGlobalObjectBase* object : items) object->OnDetach();
    for (CGlobalObjectBase* object : items) object->OnDetached();
    items_.clear();
    items_.shrink_to_fit();
}

} // namespace zib::ulvarf
