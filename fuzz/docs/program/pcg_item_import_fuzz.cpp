// Program and drum-kit item files as they come from disk, imported into
// documents of every series: refused or taken whole, never past their end,
// and never more items than a list takes.
#include "docs/program/core/PcgDocModel.h"
#include "docs/program/core/PcgLayout.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

void check(bool holds)
{
    if (!holds) __builtin_trap();
}

// A whole Wq file of the model with blank records.
std::vector<uint8_t> wqFile(int model)
{
    const bool b = zib::pcg::IsFamilyB(model);
    std::vector<uint8_t> image(b ? 30480 : 14255, 0);
    image[0] = 'D', image[1] = 'A', image[2] = 'S', image[3] = 'K', image[4] = uint8_t(model);
    return image;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    // The first byte picks the document and the list it imports into.
    const int kind = data[0] % 6;
    zib::PcgDocModel doc;
    switch (kind) {
    case 0:
    case 1:
        doc.OpenImage("a.pcg", wqFile('9'));
        break;
    case 2:
    case 3:
        doc.OpenImage("a.prg", wqFile('M'));
        break;
    case 4:
        doc.OnNewDocument(0);
        break;
    default:
        doc.OnNewDocument(2);
        break;
    }
    const bool drumKits = kind % 2 == 1 && !doc.IsQe();
    doc.shownList = drumKits ? 2 : 1;
    const int programs = doc.ProgramCount(), kits = doc.DrumKitCount();
    const std::vector<uint8_t> item(data + 1, data + size);
    const auto result = drumKits ? doc.ImportDrumKitImage(item) : doc.ImportPcgImage(item);
    if (result == zib::PcgItemResult::Added) {
        const auto& list = drumKits ? doc.drumKits : doc.programs;
        check(int(list.size()) == (drumKits ? kits : programs) + 1);
        if (!doc.IsQe()) {
            const size_t expected = drumKits ? zib::pcg::DrumKitSize(doc.model) : zib::pcg::ProgramRecordSize(doc.model);
            check(list.back().Size() == expected);
        }
    } else {
        check(doc.ProgramCount() == programs && doc.DrumKitCount() == kits);
    }
    return 0;
}
