#pragma once

#include "docs/style/core/CItemInfo.h"

#include <cstdint>

namespace zib {

// A program or drum-kit item. For Qe documents the resource's place in its
// container; a bank position without a resource gives -1 in all three numbers.
class CPcgItem : public CItemInfo {
public:
    int32_t resourceIndex = 0;
    uint32_t kind = 0; // 4 for every program item of a Qe document
    int32_t bankPosition = 0;
    int32_t bank = 0;
};

} // namespace zib
