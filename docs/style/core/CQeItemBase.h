#pragma once

namespace zib {

// Empty base of the small Qe data classes of the converters.
class CQeItemBase {
public:
    virtual ~CQeItemBase() = default;
};

} // namespace zib
