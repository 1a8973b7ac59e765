#pragma once

#include "docs/style/core/CQeBank.h"
#include "docs/style/core/UlvaRfHandles.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zib {

// The link of style slot k to the STS block of the same bank and position.
struct StyleLinkEntry {
    int32_t styleResourceIndex = -1; // -1: no link
    int32_t stsSlot = -1;
};

// The bank index of a Qe style or pad file: the styles (type 2) or pads
// (type 9) in `entries`, the STS blocks (type 7) in `stsEntries`, and for
// styles the link of each style to its STS block.
class CQeStyBank : public CQeBank {
public:
    CQeStyBank();

    std::vector<StyleLinkEntry> links; // link k belongs to style slot k
    std::vector<QeBankEntry> stsEntries;
    uint32_t modelCode = 'F';

    // Loading; the returned container stays open for the caller to read the
    // items through. Null when the image is no container, holds no entry of
    // the table's kind, or a resource cannot be read.
    // Styles: also reads each resource's header words, finds Qe9z styles
    // (model code 'X' for them or for more than 16 styles) and links the STS blocks.
    UlrfContainerPtr Load(std::span<const uint8_t> image);
    // Pads: the pad and STS tables only.
    UlrfContainerPtr LoadPadIndex(std::span<const uint8_t> image);

    // Queries
    uint32_t GetModelCode() const { return modelCode; }
    // The first STS slot at that bank and position, else -1.
    int FindStsByBankPosition(int bank, int position) const;
    // The link of style slot k; a free link when k is out of range.
    StyleLinkEntry LinkOf(int k) const;

private:
    void FreeAll();
};

} // namespace zib
