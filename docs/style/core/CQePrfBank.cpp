#include "docs/style/core/CQePrfBank.h"

#include "docs/style/core/DasfIndex.h"

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
    std::vector<uint8_t> patched(image.begin(), image.end());
    std::span<uint8_t> index = FindIndexChunk(std::span<uint8_t>(patched));
    if (index.empty()) return nullptr;
    for (const auto& e : entries) {
        if (!e.Used()) continue;
        DasfIndexEntry raw;
        if (!ReadIndexEntry(index, e.resourceIndex, raw)) return nullptr;
        raw.type = 7;
        if (!WriteIndexEntry(index, e.resourceIndex, raw)) return nullptr;
    }
    UlrfContainerPtr container(_ULRFCreateInstance(patched.data(), uint32_t(patched.size())));
    if (!container) return nullptr;

    for (int i = 0; i < read; ++i) {
        UlrfResInstancePtr resource(_ULRFExtractResource(container.get(), i));
        if (!resource) return nullptr;
        const int size = _ULRFResInstanceSizeUnComp(resource.get());
        if (size <= 0) return nullptr;
        std::vector<uint8_t> data(static_cast<size_t>(size));
        if (!_ULRFPutResInstanceUnComp(resource.get(), data.data(), uint32_t(data.size()))) return nullptr;
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
