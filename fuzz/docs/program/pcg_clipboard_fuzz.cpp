// Clipboard blocks of the private format pasted into program lists: a block
// that lies about its parts is refused, every pasted item fits its list, and
// the lists stay within their limits.
#include "docs/program/core/PcgDocModel.h"
#include "docs/program/core/PcgLayout.h"
#include "docs/program/core/PcgListModel.h"

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
    zib::PcgDocModel doc;
    doc.OnNewDocument(data[0] % 3);
    doc.shownList = data[0] & 0x80 ? 2 : 1;
    zib::PcgListModel list(doc);
    const auto result = list.Paste(std::span<const uint8_t>(data + 1, size - 1), (data[0] & 0x40) != 0, "OnDrop");
    check(result.pasted == doc.ProgramCount() + doc.DrumKitCount());
    check(doc.ProgramCount() <= zib::pcg::kMaxPrograms && doc.DrumKitCount() <= zib::pcg::kMaxDrumKits);
    if (!doc.IsQe())
        for (const auto& item : doc.programs)
            check(item.Size() == zib::pcg::ProgramRecordSize(doc.model));
    if (result.pasted > 0) list.ArrangeDropped(result.pasted, 0);
    return 0;
}
