// Item files as they come from disk (.WPF, .WDK, .WAF, .WFF), imported into
// documents of every model: refused or taken whole, never read past their
// end, never more items than a list takes, and a taken record of the size
// its document keeps.
#include "docs/program/core/ArrDocModel.h"
#include "docs/program/core/PcgDocModel.h"
#include "docs/program/core/PcgLayout.h"
#include "docs/program/core/PrfDocModel.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace {

void check(bool holds)
{
    if (!holds) __builtin_trap();
}

// A whole Wq file of the model with blank records.
std::vector<uint8_t> wqPcg(int model)
{
    std::vector<uint8_t> image(zib::pcg::IsFamilyB(model) ? 30480 : 14255, 0);
    image[0] = 'D', image[1] = 'A', image[2] = 'S', image[3] = 'K', image[4] = uint8_t(model);
    return image;
}

std::vector<uint8_t> wqArr(int model, int mode)
{
    const size_t size = model == 'M' ? 10528 : model == 'I' ? (mode == 2 ? 24864 : 21024) : 9056;
    std::vector<uint8_t> image(size, 0);
    image[0] = 'D', image[1] = 'A', image[2] = 'S', image[3] = 'K', image[4] = uint8_t(model);
    return image;
}

void intoProgramDocument(int kind, std::span<const uint8_t> item)
{
    zib::PcgDocModel doc;
    switch (kind % 6) {
    case 0:
    case 1: doc.OpenImage("a.pcg", wqPcg('9')); break;
    case 2:
    case 3: doc.OpenImage("a.prg", wqPcg('M')); break;
    case 4: doc.OnNewDocument(0); break;
    default: doc.OnNewDocument(2); break;
    }
    const bool drumKits = kind % 2 == 1 && !doc.IsQe();
    doc.shownList = drumKits ? 2 : 1;
    const int programs = doc.ProgramCount(), kits = doc.DrumKitCount();
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
}

void intoArrangementDocument(int kind, std::span<const uint8_t> item)
{
    zib::ArrDocModel doc;
    static constexpr int kModels[] = {'9', '<', 'H', 'M', 'I', 'I'};
    if (kind % 7 == 6)
        doc.OnNewDocument();
    else
        doc.OpenImage("a.arr", wqArr(kModels[kind % 7], kind % 7 == 5 ? 2 : 1));
    const int before = doc.Count();
    if (doc.ImportArrImage(item) == zib::ArrItemResult::Added) {
        check(doc.Count() == before + 1);
        check(doc.items.back().Size() == zib::ArrRecordSize(doc.model, doc.recordMode));
    } else {
        check(doc.Count() == before);
    }
}

void intoPerformanceDocument(std::span<const uint8_t> item)
{
    zib::PrfDocModel doc;
    doc.OnNewDocument();
    if (doc.ImportPerfImage(item) == zib::PrfItemResult::Added) {
        check(doc.Count() == 1);
        check(doc.items[0].Size() + 27 == item.size());
    } else {
        check(doc.Count() == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    // The first byte picks the document and the list it imports into.
    const std::span<const uint8_t> item(data + 1, size - 1);
    const int kind = data[0];
    switch (kind % 3) {
    case 0: intoProgramDocument(kind / 3, item); break;
    case 1: intoArrangementDocument(kind / 3, item); break;
    default: intoPerformanceDocument(item); break;
    }
    return 0;
}
