// Performance files as they come from disk: the container test, the bank
// index and the performances' data must stay inside the image; a file that
// opens lists, converts its performances as a paste into a Qe4k document
// would, and writes back into a file that opens again.
#include "docs/program/core/PrfDocModel.h"
#include "docs/program/core/PrfListModel.h"
#include "docs/program/core/PrfSheetModel.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

void check(bool holds)
{
    if (!holds) __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zib::PrfDocModel doc;
    if (!doc.OpenImage("fuzz.prf", std::vector<uint8_t>(data, data + size))) return 0;
    zib::PrfListModel list(doc);
    for (int row = 0; row < list.RowCount(); ++row)
        for (int column = 0; column < 6; ++column)
            list.CellText(row, column);
    for (auto& item : doc.items) {
        auto copy = item.data;
        const size_t before = copy.size();
        if (list.ConvertQe9zToQe4k(copy, "P")) check(copy.size() == before);
    }
    if (doc.Count() > 0 && zib::PrfSheetModel::CanOpen(doc, 0)) {
        zib::PrfSheetModel sheet(doc, 0);
        sheet.StylePage().changed = sheet.ArrangerPage().changed = sheet.StsPage().changed = true;
        sheet.Ok();
    }
    if (const auto saved = doc.BuildFileImage()) {
        zib::PrfDocModel again;
        check(again.OpenImage("again.prf", *saved));
    }
    return 0;
}
