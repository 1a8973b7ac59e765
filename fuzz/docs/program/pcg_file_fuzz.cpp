// Program files as they come from disk: recognition and parsing must stay
// inside the image, and a file that opens must list, edit and write back in
// its own format without faults.
#include "docs/program/core/PcgDocModel.h"
#include "docs/program/core/PcgListModel.h"
#include "docs/program/core/PrgPageModel.h"

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
    if (size < 1) return 0;
    // The first byte picks the extension the file is opened under.
    const char* name = data[0] & 1 ? "fuzz.PRG" : "fuzz.pcg";
    std::vector<uint8_t> image(data + 1, data + size);
    zib::PcgDocModel doc;
    if (!doc.OpenImage(name, image)) return 0;

    check(doc.IsQe() || doc.DrumKitCount() > 0);
    zib::PcgListModel list(doc);
    for (int list_kind : {1, 2}) {
        doc.shownList = list_kind;
        for (int row = 0; row < list.RowCount(); ++row)
            for (int column = 0; column < int(list.Columns().size()); ++column)
                list.CellText(row, column);
    }
    doc.shownList = 1;
    for (int page = 1; page <= 12; ++page) {
        zib::PrgPageModel model(page);
        if (model.Read(doc, 0)) {
            check(model.Write(doc));
            model.Graph(200, 100);
            model.Graph(25, 10);
        }
    }
    // Written back, the file opens again with its programs.
    const auto saved = doc.BuildFileImage();
    if (saved) {
        zib::PcgDocModel again;
        check(again.OpenImage(name, *saved));
        if (!doc.IsQe()) check(again.ProgramCount() == doc.ProgramCount());
    }
    return 0;
}
