#pragma once

#include "ulvarf/CGlobalObjectBase.h"

namespace zib::ulvarf {

class CRTClassList;

// Frees the class register at process detach.
class CRTClassListDestroyer : public CGlobalObjectBase {
public:
    explicit CRTClassListDestroyer(CRTClassList& classes) : classes_(classes) {}

    int OnDetached() override;

private:
    CRTClassList& classes_;
};

} // namespace zib::ulvarf
