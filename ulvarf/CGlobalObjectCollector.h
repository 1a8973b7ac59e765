#pragma once

#include <cstddef>
#include <vector>

namespace zib::ulvarf {

class CGlobalObjectBase;

// The process-wide list of every CGlobalObjectBase. Objects are pushed at the
// head, so the list runs from the last registered to the first. Process
// attach calls OnAttach on every object in list order, then OnAttached;
// process detach calls OnDetach, then OnDetached, and then empties the list.
class CGlobalObjectCollector {
public:
    // The process-wide collector, made on the first registration.
    static CGlobalObjectCollector& Instance();
    CGlobalObjectCollector() = default;
    CGlobalObjectCollector(const CGlobalObjectCollector&) = delete;
    CGlobalObjectCollector& operator=(const CGlobalObjectCollector&) = delete;

    // Membership
    void Register(CGlobalObjectBase* object);
    void Unregister(CGlobalObjectBase* object);
    size_t size() const { return items_.size(); }

    // Process notifications
    void ProcessAttach();
    void ProcessDetach();

private:
    std::vector<CGlobalObjectBase*> items_; // last registered first
};

} // namespace zib::ulvarf
