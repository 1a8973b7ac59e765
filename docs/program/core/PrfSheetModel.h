#pragma once

#include "docs/program/core/PrfDocModel.h"
#include "docs/style/core/StsArrangerInfoPageModel.h"
#include "docs/style/core/StsTrackPageModel.h"

namespace zib {

// "Performance settings" of one performance without its window: the pages of
// STS data over the performance's data (it has the layout of an STS item's):
// the style performance page, the arranger info page of a performance (bank
// and position can be chosen) and the page of the first STS block (STS1).
// The pages edit their own values; OK writes back what each changed page
// owns and marks the document modified when the performance's bytes changed.
//
//   style page     the eight style track records: sound (bytes 8-11), volume (12), pan (13)
//   arranger page  38 bank, 39 position, 41 tempo (below 40: 40), 42 variation, 43 element, 45, 46 fills
//   STS page       the four realtime track records of the first STS block
class PrfSheetModel {
public:
    // False, after its message, when there is no focused performance (23)
    // or its data does not hold what the pages read (31): the performance
    // readable and its STS blocks where its count says. An empty performance
    // is refused without a message.
    static bool CanOpen(PrfDocModel& doc, int row);

    PrfSheetModel(PrfDocModel& doc, int row);

    // The pages, in the sheet's order
    StsTrackPageModel& StylePage() { return style_; }
    StsArrangerInfoPageModel& ArrangerPage() { return arranger_; }
    StsTrackPageModel& StsPage() { return sts_; }

    // OK: true when the pages changed the performance (the document is then modified).
    bool Ok();

private:
    PrfDocModel& doc_;
    int row_;
    StsTrackPageModel style_;
    StsArrangerInfoPageModel arranger_;
    StsTrackPageModel sts_;
};

} // namespace zib
