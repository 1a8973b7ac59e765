// Arrangement files as they come from disk, with the style and program files
// beside them: the exact sizes, the sibling walks and every display text must
// stay inside their bytes; a file that opens converts each record to every
// other model, fills the five pages, and writes back into the same bytes.
#include "docs/program/core/ArrConversion.h"
#include "docs/program/core/ArrDocModel.h"
#include "docs/program/core/ArrListModel.h"
#include "docs/program/core/ArrPageModel.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

void check(bool holds)
{
    if (!holds) __builtin_trap();
}

// The input: two 16-bit little-endian lengths, the style file, the program
// file, then the arrangement file.
std::span<const uint8_t> take(std::span<const uint8_t>& in, size_t n)
{
    n = std::min(n, in.size());
    const auto part = in.first(n);
    in = in.subspan(n);
    return part;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::span<const uint8_t> in(data, size);
    if (in.size() < 4) return 0;
    const size_t styLength = size_t(in[0] | in[1] << 8), prgLength = size_t(in[2] | in[3] << 8);
    in = in.subspan(4);
    const auto sty = take(in, styLength);
    const auto prg = take(in, prgLength);

    zib::ArrDocModel doc;
    if (!doc.OpenImage("fuzz.arr", in)) return 0;
    doc.userStyleNamesRead = doc.ReadUserStyleNames(sty);
    doc.userProgramNamesRead = doc.ReadUserProgNames(prg);
    zib::ArrListModel list(doc);
    for (int form = 0; form < 2; ++form) {
        for (int row = 0; row < list.RowCount(); ++row)
            for (int column = 0; column < 13; ++column)
                list.CellText(row, column);
        list.ColumnClicked(4);
    }
    for (int to : {'9', '<', 'H', 'I', 'M'})
        for (int mode : {1, 2})
            if (const auto record = zib::ConvertArrRecord(doc.items[0].data, doc.model, to, mode))
                check(record->size() == zib::ArrRecordSize(to, mode));
    zib::ArrSheetModel sheet(doc, 0, zib::ArrProgramForm::Name);
    for (int page = 1; page <= 5; ++page) {
        sheet.Show(page);
        sheet.Leave(page);
    }
    sheet.Ok(5);
    const auto saved = doc.BuildFileImage();
    check(saved && saved->size() == in.size());
    return 0;
}
