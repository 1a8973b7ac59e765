#pragma once

#include "docs/style/core/QeBankEntry.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "ulvarf/ulvarf.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace zib {

// The item-bank index of a Qe container: places the container's resources in
// banks and positions before a document builds its list. Tables are flat,
// indexed by container index, 2000 slots each (the container's own limit).
class CQeBank {
public:
    static constexpr int kCapacity = 2000;

    CQeBank();
    virtual ~CQeBank() = default;

    // 1 when loading had to rearrange banks or positions
    uint32_t changed = 0;
    std::vector<QeBankEntry> entries;

    // Positions
    // The largest position among used entries, -1 when there is none.
    int GetMaxPosition() const;
    // The resource index of the first used entry (slot order) at position p;
    // -1 when there is none or p is outside 0..1999.
    int FindByPosition(int p) const;

    // Rules
    // Positions a kind may use: 4 -> 128, 1 -> 16, 9 -> 32, 2 -> 16 (32 in a
    // container of Qe9z styles), any other kind 2000. A document takes no
    // more items of a kind than its file has positions for.
    static constexpr int PositionLimit(uint32_t kind, bool qe9z)
    {
        switch (kind) {
        case 4:
            return 128;
        case 1:
            return 16;
        case 9:
            return 32;
        case 2:
            return qe9z ? 32 : 16;
        default:
            return kCapacity;
        }
    }
    // Banks: 0-29 for pads (kind 9), 0-19 but 16 for every other kind.
    static constexpr bool IsValidBank(uint32_t kind, int32_t bank)
    {
        if (kind == 9) return bank >= 0 && bank <= 29;
        return bank >= 0 && bank <= 19 && bank != 16;
    }

protected:
    // One table the enumeration fills: the slots of entries of `kind`.
    struct TableFill {
        uint32_t kind;
        std::vector<QeBankEntry>* table;
        int* found; // entries of the kind found, may be null
    };
    // Reads index entries 0, 1, ... while the container has them (at most
    // 2000); entry i of a table's kind fills that table's slot i. Returns the
    // number of entries read, of every type.
    static int Enumerate(ULRFContainer* container, std::initializer_list<TableFill> tables);
    static void FreeTable(std::vector<QeBankEntry>& table, const QeBankEntry& freeEntry);
    // The library hands out type-7 resources decompressed: a container opened
    // on a copy of the image whose used `entries` are retagged as type 7 shows
    // their header bytes. Null when the image's index cannot be patched.
    UlrfContainerPtr OpenRetagged(std::span<const uint8_t> image) const;
    // Resource i in its serialised form, decompressed where the library can
    // (type-7 resources); empty when it cannot be read.
    static std::vector<uint8_t> ExtractUncompressed(ULRFContainer* container, int i);

    // The repair after loading: one valid bank for every used entry, then
    // positions 0, 1, 2 ... when two collide or one is out of range.
    void Repair(uint32_t kind, bool qe9z);
    int MostCommonBank() const;
    void UnifyBank();
    void RenumberPositions(uint32_t kind, bool qe9z);
};

} // namespace zib
