#include "docs/style/core/CQePrfBank.h"

#include <vector>

namespace zib {

namespace {

// A free performance slot: every number -1 but the kind, no name.
QeBankEntry freePerformanceEntry()
{
    QeBankEntry e;
    e.kind = 1;
    e.headerWordA = uint32_t(-1);
    e.headerWordB = uint32_t(-1);
    return e;
}

} // namespace

CQePrfBank::CQePrfBank()
{
    FreeTable(entries, freePerformanceEntry());
}

UlrfContainerPtr CQePrfBank::Load(std::span<const uint8_t> image)
{
    UlrfContainerPtr first(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    if (!first) return nullptr;
    FreeTable(entries, freePerformanceEntry());
    int performances = 0;
    const int read = Enumerate(first.get(), {{1, &entries, &performances}});
    if (performances == 0) return nullptr;
    if (read > 8) modelCode = 'X';
    first.reset();

    // The container is opened on a retagged copy of the image.
    UlrfContainerPtr container = OpenRetagged(image);
    if (!container) return nullptr;

    for (int i = 0; i < read; ++i) {
        const std::vector<uint8_t> data = ExtractUncompressed(container.get(), i);
        if (data.empty()) return nullptr;
        QeBankEntry& e = entries[size_t(i)];
        if (e.Used()) {
            e.headerWordA = data.size() > 9 ? data[9] : 0;
            e.headerWordB = data.size() > 10 ? data[10] : 0;
        }
    }
    Repair(1, false);
    return container;
}

} // namespace zib
