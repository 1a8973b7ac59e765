#pragma once

namespace zib::ulvarf {

class CGlobalObjectCollector;

// A library-wide object that takes part in the process attach and detach
// sequence run by CGlobalObjectCollector. It registers itself when it is
// constructed and leaves the collector when it is destroyed, so objects with
// a shorter life (a small pool made by a test) are never notified after
// they are gone.
class CGlobalObjectBase {
public:
    CGlobalObjectBase();
    // Registers with another collector than the process-wide one (tests).
    explicit CGlobalObjectBase(CGlobalObjectCollector& collector);
    virtual ~CGlobalObjectBase();
    CGlobalObjectBase(const CGlobalObjectBase&) = delete;
    CGlobalObjectBase& operator=(const CGlobalObjectBase&) = delete;

    // Process notifications, in slot order; the results are ignored.
    virtual int OnAttach() { return 0; }
    virtual int OnAttached() { return 0; }
    virtual int OnDetach() { return 0; }
    virtual int OnDetached() { return 0; }

private:
    CGlobalObjectCollector& collector_;
};

} // namespace zib::ulvarf
