// Clipboard and drag blocks of programs, performances and arrangements as
// another program may leave them: a block is checked whole before anything
// is pasted, and what is pasted has the size its document keeps.
#include "docs/program/core/ArrListModel.h"
#include "docs/program/core/PcgLayout.h"
#include "docs/program/core/PcgListModel.h"
#include "docs/program/core/PrfListModel.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

void check(bool holds)
{
    if (!holds) __builtin_trap();
}

std::vector<uint8_t> blank(size_t size, int model)
{
    std::vector<uint8_t> image(size, 0);
    image[0] = 'D', image[1] = 'A', image[2] = 'S', image[3] = 'K', image[4] = uint8_t(model);
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const std::span<const uint8_t> block(data + 1, size - 1);
    const int kind = data[0];
    switch (kind % 3) {
    case 0: {
        zib::PcgDocModel doc;
        if (kind & 4)
            doc.OpenImage("a.prg", blank(30480, 'I'));
        else if (kind & 8)
            doc.OnNewDocument(0);
        else
            doc.OpenImage("a.pcg", blank(14255, '9'));
        doc.shownList = kind & 16 ? 2 : 1;
        zib::PcgListModel list(doc);
        const int before = list.RowCount();
        const int pasted = list.Paste(block, "OnEditPaste");
        check(list.RowCount() == before + pasted);
        if (!doc.IsQe())
            for (const auto& item : doc.ShownItems())
                check(item.Size() == (doc.ShowsPrograms() ? zib::pcg::ProgramRecordSize(doc.model)
                                                          : zib::pcg::DrumKitSize(doc.model)));
        break;
    }
    case 1: {
        zib::PrfDocModel doc;
        doc.OnNewDocument();
        if (kind & 4) doc.model = 'X';
        zib::PrfListModel list(doc);
        const int pasted = list.Paste(block, "OnEditPaste");
        check(list.RowCount() == pasted && pasted <= zib::PrfDocModel::kMaxItems);
        break;
    }
    default: {
        zib::ArrDocModel doc;
        if (kind & 4)
            doc.OpenImage("a.arr", blank(kind & 8 ? 24864 : 10528, kind & 8 ? 'I' : 'M'));
        else
            doc.OnNewDocument();
        zib::ArrListModel list(doc);
        const int before = list.RowCount();
        const int pasted = list.Paste(block, "OnDrop");
        check(list.RowCount() == before + pasted);
        for (const auto& item : doc.items)
            check(item.Size() == zib::ArrRecordSize(doc.model, doc.recordMode));
        break;
    }
    }
    return 0;
}
