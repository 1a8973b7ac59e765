#include "zibtbl/ZibTbl.h"

#include "zibtbl/TensionTables.h"

namespace {

using zib::tbl::TensionTable;

bool inRange(std::int32_t value, int count)
{
    return value >= 0 && value < count;
}

std::int32_t readEntry(TensionTable table, std::size_t index)
{
    return zib::tbl::kTensionTableData[zib::tbl::tableOffset(table) + index];
}

} // namespace

std::int32_t GetQeTension(std::uint8_t tensionFlag, std::uint8_t nttMode, std::int32_t sourceChordType,
                          std::uint8_t chordType, std::int32_t chordTension, std::int32_t interval)
{
    using namespace zib::tbl;
    TensionTable table;
    switch (nttMode) {
    case 0:
        table = tensionFlag ? TensionTable::QeRootTension : TensionTable::QeRootPlain;
        break;
    case 1:
        table = tensionFlag ? TensionTable::QeFifthTension : TensionTable::QeFifthPlain;
        break;
    case 2:
        table = tensionFlag ? TensionTable::QeWqTension : TensionTable::QeWqPlain;
        break;
    default:
        return 0;
    }
    // The source chord type comes from style data: a damaged style must not
    // make the lookup read outside its table.
    if (!inRange(sourceChordType, kChordTypeCount) || !inRange(chordType, kChordTypeCount) ||
        !inRange(chordTension, kChordTensionCount) || !inRange(interval, kIntervalCount))
        return 0;
    return readEntry(table, qeEntryIndex(sourceChordType, chordType, chordTension, interval));
}

std::int32_t GetWqSeriesTension(std::uint8_t tensionFlag, std::int32_t sourceKind, std::uint8_t chordType,
                                std::int32_t chordTension, std::int32_t interval)
{
    using namespace zib::tbl;
    if (tensionFlag > 1 || !inRange(sourceKind, kSourceKindCount)) return 0;
    static constexpr TensionTable kTables[2][2] = {
        {TensionTable::WqPlainMajor, TensionTable::WqPlainMinor},
        {TensionTable::WqTensionMajor, TensionTable::WqTensionMinor},
    };
    if (!inRange(chordType, kChordTypeCount) || !inRange(chordTension, kChordTensionCount) ||
        !inRange(interval, kIntervalCount))
        return 0;
    return readEntry(kTables[tensionFlag][sourceKind], wqEntryIndex(chordType, chordTension, interval));
}
