#include "docs/style/core/CQeStyBank.h"

#include "docs/style/core/DasfIndex.h"

namespace zib {

namespace {

// A free slot of the style and STS tables: every number -1, no name.
QeBankEntry freeStyleEntry()
{
    QeBankEntry e;
    e.kind = uint32_t(-1);
    e.headerWordA = uint32_t(-1);
    e.headerWordB = uint32_t(-1);
    return e;
}

// Resource i written in its serialised form, decompressed where the library
// can (type-7 resources); empty when it cannot be read.
std::vector<uint8_t> extractUncompressed(ULRFContainer* container, int i)
{
    UlrfResInstancePtr resource(_ULRFExtractResource(container, i));
    if (!resource) return {};
    const int size = _ULRFResInstanceSizeUnComp(resource.get());
    if (size <= 0) return {};
    std::vector<uint8_t> out(static_cast<size_t>(size));
    if (!_ULRFPutResInstanceUnComp(resource.get(), out.data(), uint32_t(out.size()))) return {};
    return out;
}

} // namespace

CQeStyBank::CQeStyBank()
{
    FreeAll();
}

void CQeStyBank::FreeAll()
{
    FreeTable(entries, freeStyleEntry());
    FreeTable(stsEntries, freeStyleEntry());
    links.assign(kCapacity, StyleLinkEntry{});
}

UlrfContainerPtr CQeStyBank::Load(std::span<const uint8_t> image)
{
    UlrfContainerPtr first(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    if (!first) return nullptr;
    FreeAll();

    int styles = 0;
    const int read = Enumerate(first.get(), {{2, &entries, &styles}, {7, &stsEntries, nullptr}});
    if (read == 0 || styles == 0) return nullptr;
    first.reset();

    // The library hands out type-7 resources decompressed: a copy of the image
    // with the styles retagged as type 7 shows their header bytes.
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
    UlrfContainerPtr second(_ULRFCreateInstance(patched.data(), uint32_t(patched.size())));
    if (!second) return nullptr;

    // Serialised form: 8-byte instance head, then the resource chunk. A style
    // carries its version and release in the id bytes of the style container
    // (bytes 17 and 18), an STS block in its own chunk's (bytes 9 and 10).
    bool qe9z = false;
    for (int i = 0; i < read; ++i) {
        const std::vector<uint8_t> data = extractUncompressed(second.get(), i);
        if (data.empty()) return nullptr;
        // The id bytes read must lie inside the instance.
        if (entries[size_t(i)].Used()) {
            if (data.size() < 19) return nullptr;
            entries[size_t(i)].headerWordA = data[17];
            entries[size_t(i)].headerWordB = data[18];
            if (data[17] == 1) qe9z = true;
        } else if (stsEntries[size_t(i)].Used()) {
            if (data.size() < 11) return nullptr;
            stsEntries[size_t(i)].headerWordA = data[9];
            stsEntries[size_t(i)].headerWordB = data[10];
        }
    }
    if (styles > 16) qe9z = true;
    modelCode = qe9z ? 'X' : 'F';
    second.reset();

    // The items are read from the image as it was.
    UlrfContainerPtr third(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    if (!third) return nullptr;

    for (int k = 0; k < kCapacity; ++k) {
        const QeBankEntry& e = entries[size_t(k)];
        if (!e.Used()) continue;
        const int j = FindStsByBankPosition(e.bank, e.position);
        if (j >= 0) links[size_t(k)] = {e.resourceIndex, j};
    }

    Repair(2, qe9z);
    return third;
}

UlrfContainerPtr CQeStyBank::LoadPadIndex(std::span<const uint8_t> image)
{
    UlrfContainerPtr container(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    if (!container) return nullptr;
    FreeAll();
    int pads = 0;
    Enumerate(container.get(), {{9, &entries, &pads}, {7, &stsEntries, nullptr}});
    if (pads == 0) return nullptr;
    Repair(9, false);
    return container;
}

int CQeStyBank::FindStsByBankPosition(int bank, int position) const
{
    for (int j = 0; j < kCapacity; ++j) {
        const QeBankEntry& s = stsEntries[size_t(j)];
        if (s.Used() && s.bank == bank && s.position == position) return j;
    }
    return -1;
}

StyleLinkEntry CQeStyBank::LinkOf(int k) const
{
    if (k < 0 || k >= kCapacity) return {};
    return links[size_t(k)];
}

} // namespace zib
