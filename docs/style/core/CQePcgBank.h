#pragma once

#include "docs/style/core/CQeBank.h"
#include "ulvarf/ulvarf.h"

namespace zib {

// The bank index of a Qe program file: its programs (type 4).
class CQePcgBank : public CQeBank {
public:
    CQePcgBank();

    // 1 when the container holds programs (the table is then repaired), else 0.
    int EnumIndex(ULRFContainer* container);
};

} // namespace zib
