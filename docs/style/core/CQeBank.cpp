#include "docs/style/core/CQeBank.h"

#include "docs/style/core/DasfIndex.h"

#include <array>
#include <cstring>
#include <set>

namespace zib {

CQeBank::CQeBank() : entries(kCapacity) {}

int CQeBank::GetMaxPosition() const
{
    int max = -1;
    for (const auto& e : entries)
        if (e.Used() && e.position > max) max = e.position;
    return max;
}

int CQeBank::FindByPosition(int p) const
{
    if (p < 0 || p >= kCapacity) return -1;
    for (const auto& e : entries)
        if (e.Used() && e.position == p) return e.resourceIndex;
    return -1;
}

int CQeBank::Enumerate(ULRFContainer* container, std::initializer_list<TableFill> tables)
{
    int read = 0;
    for (int i = 0; i < kCapacity; ++i) {
        char name[18] = {};
        int type = 0, bank = 0, position = 0;
        if (!_ULRFEnumIndex(container, i, name, &type, &bank, &position)) break;
        ++read;
        for (const TableFill& fill : tables) {
            if (uint32_t(type) != fill.kind) continue;
            QeBankEntry& e = (*fill.table)[size_t(i)];
            e.resourceIndex = i;
            std::memcpy(e.name.data(), name, e.name.size());
            e.name.back() = '\0';
            e.kind = uint32_t(type);
            e.bank = bank;
            e.position = position;
            if (fill.found) ++*fill.found;
        }
    }
    return read;
}

void CQeBank::FreeTable(std::vector<QeBankEntry>& table, const QeBankEntry& freeEntry)
{
    table.assign(kCapacity, freeEntry);
}

void CQeBank::Repair(uint32_t kind, bool qe9z)
{
    UnifyBank();
    RenumberPositions(kind, qe9z);
}

int CQeBank::MostCommonBank() const
{
    // Every used slot whose bank a pad or a style may carry counts, bank 16 too.
    std::array<int, 30> tally{};
    bool pads = false;
    for (const auto& e : entries) {
        if (!e.Used()) continue;
        if (e.kind == 9) pads = true;
        const int32_t highest = e.kind == 9 ? 29 : 19;
        if (e.bank >= 0 && e.bank <= highest) ++tally[size_t(e.bank)];
    }
    int best = 0;
    for (int b = 1; b < int(tally.size()); ++b)
        if (tally[size_t(b)] > tally[size_t(best)]) best = b;
    if (pads) return best;
    return best == 16 ? 17 : best;
}

void CQeBank::UnifyBank()
{
    bool invalid = false;
    std::set<int32_t> banks;
    for (const auto& e : entries) {
        if (!e.Used()) continue;
        if (IsValidBank(e.kind, e.bank))
            banks.insert(e.bank);
        else
            invalid = true;
    }
    if (!invalid && banks.size() == 1) return;
    // No used entry at all needs nothing.
    if (!invalid && banks.empty()) return;
    changed = 1;
    const int bank = MostCommonBank();
    for (auto& e : entries)
        if (e.Used()) e.bank = bank;
}

void CQeBank::RenumberPositions(uint32_t kind, bool qe9z)
{
    const int limit = PositionLimit(kind, qe9z);
    std::vector<bool> taken(size_t(limit), false);
    bool renumber = false;
    for (const auto& e : entries) {
        if (!e.Used()) continue;
        if (e.position < 0 || e.position >= limit || taken[size_t(e.position)]) {
            renumber = true;
            break;
        }
        taken[size_t(e.position)] = true;
    }
    if (!renumber) return;
    changed = 1;
    int next = 0;
    for (auto& e : entries)
        if (e.Used()) e.position = next++;
}

UlrfContainerPtr CQeBank::OpenRetagged(std::span<const uint8_t> image) const
{
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
    return UlrfContainerPtr(_ULRFCreateInstance(patched.data(), uint32_t(patched.size())));
}

std::vector<uint8_t> CQeBank::ExtractUncompressed(ULRFContainer* container, int i)
{
    UlrfResInstancePtr resource(_ULRFExtractResource(container, i));
    if (!resource) return {};
    const int size = _ULRFResInstanceSizeUnComp(resource.get());
    if (size <= 0) return {};
    std::vector<uint8_t> out(static_cast<size_t>(size));
    if (!_ULRFPutResInstanceUnComp(resource.get(), out.data(), uint32_t(out.size()))) return {};
    return out;
}

} // namespace zib
