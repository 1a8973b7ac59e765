#pragma once

#include "docs/style/core/CItemInfo.h"

#include <cstdint>

namespace zib {

// A performance item of a Qe performance file.
class CQePrfItem : public CItemInfo {
public:
    int32_t resourceIndex = 0;
    uint32_t kind = 0; // 1
    int32_t bankPosition = 0;
    int32_t bank = 0;
    uint32_t headerWordA = 0;
    uint32_t headerWordB = 0;
};

} // namespace zib
