#pragma once

#include "docs/program/core/PrfDocModel.h"

#include <cstdint>
#include <vector>

namespace zib {

// "Performance settings" of one performance without its window: the style
// performance page, the arranger info page and the page of STS slot 0 edit
// copies of the performance's data; OK takes from the copy what each changed
// page owns and marks the document modified.
//
//   style page     the eight style track records: sound (bytes 8-11), volume (12), pan (13)
//   arranger page  38 bank, 39 position, 41 tempo (below 40: 40), 42 variation, 43 element, 45, 46 fills
//   STS page       the four realtime track records of the first STS block
class PrfSheetModel {
public:
    // False, after its message, when there is no focused performance or its
    // data does not hold what the pages read (message 31).
    static bool CanOpen(PrfDocModel& doc, int row);

    PrfSheetModel(PrfDocModel& doc, int row);

    // The copy the pages edit.
    std::vector<uint8_t>& Edited() { return edited_; }
    void Ok(bool stylePageChanged, bool arrangerPageChanged, bool stsPageChanged);

private:
    PrfDocModel& doc_;
    int row_;
    std::vector<uint8_t> edited_;
};

} // namespace zib
