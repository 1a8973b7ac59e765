#pragma once

#include "docs/style/core/CQeBank.h"
#include "docs/style/core/UlvaRfHandles.h"

#include <cstdint>
#include <span>

namespace zib {

// The bank index of a Qe performance file: its performances (type 1), with
// the header words of each.
class CQePrfBank : public CQeBank {
public:
    CQePrfBank();

    uint32_t modelCode = 'F';

    // The open container, or null. The performances of the returned container
    // are retagged as type 7, so the library hands them out decompressed
    // (GetQEItemUnComp puts type 1 back into each item); model code 'X' for
    // more than 8 index entries.
    UlrfContainerPtr Load(std::span<const uint8_t> image);

    uint32_t GetModelCode() const { return modelCode; }
};

} // namespace zib
