#pragma once

#include <cstddef>
#include <cstdint>

namespace zib::tbl {

// Index dimensions shared by every tension table.
inline constexpr int kChordTypeCount = 22;    // 0 "Major" .. 21 "No3rdNo5th"
inline constexpr int kChordTensionCount = 24; // 0 none .. 23 #11+13
inline constexpr int kIntervalCount = 12;     // semitones above the recorded key
inline constexpr int kSourceKindCount = 2;    // Wq-series: 0 recorded over major, 1 over minor

// Entries of one table: [chord type][tension][interval] for the Wq-series,
// [source chord type][chord type][tension][interval] for the Qe-series.
inline constexpr std::size_t kWqTableEntries =
    std::size_t(kChordTypeCount) * kChordTensionCount * kIntervalCount;
inline constexpr std::size_t kQeTableEntries = std::size_t(kChordTypeCount) * kWqTableEntries;

// The ten tables in the order they are stored, one after the other.
enum class TensionTable {
    WqTensionMajor, // GetWqSeriesTension, tensionFlag 1, sourceKind 0
    WqPlainMajor,   // GetWqSeriesTension, tensionFlag 0, sourceKind 0
    WqTensionMinor, // GetWqSeriesTension, tensionFlag 1, sourceKind 1
    WqPlainMinor,   // GetWqSeriesTension, tensionFlag 0, sourceKind 1
    QeFifthPlain,   // GetQeTension, nttMode 1 ("Transpose 5th"), tensionFlag 0
    QeFifthTension, // GetQeTension, nttMode 1, tensionFlag non-zero
    QeWqPlain,      // GetQeTension, nttMode 2 ("wq-series compatibility"), tensionFlag 0
    QeWqTension,    // GetQeTension, nttMode 2, tensionFlag non-zero
    QeRootPlain,    // GetQeTension, nttMode 0 ("Transpose Root"), tensionFlag 0
    QeRootTension,  // GetQeTension, nttMode 0, tensionFlag non-zero
};
inline constexpr int kTensionTableCount = 10;

inline constexpr bool isWqTable(TensionTable table)
{
    return int(table) < int(TensionTable::QeFifthPlain);
}

inline constexpr std::size_t tableEntries(TensionTable table)
{
    return isWqTable(table) ? kWqTableEntries : kQeTableEntries;
}

// Position of a table's first entry in the stored data.
inline constexpr std::size_t tableOffset(TensionTable table)
{
    const int t = int(table);
    return t <= int(TensionTable::QeFifthPlain)
               ? std::size_t(t) * kWqTableEntries
               : 4 * kWqTableEntries + std::size_t(t - int(TensionTable::QeFifthPlain)) * kQeTableEntries;
}

inline constexpr std::size_t kTensionTableEntries = 4 * kWqTableEntries + 6 * kQeTableEntries;
static_assert(kTensionTableEntries * sizeof(std::int32_t) == 3'446'784);
static_assert(tableOffset(TensionTable::QeRootTension) + kQeTableEntries == kTensionTableEntries);

// Index of one entry inside its table.
inline constexpr std::size_t wqEntryIndex(int chordType, int chordTension, int interval)
{
    return (std::size_t(chordType) * kChordTensionCount + std::size_t(chordTension)) * kIntervalCount +
           std::size_t(interval);
}

inline constexpr std::size_t qeEntryIndex(int sourceChordType, int chordType, int chordTension, int interval)
{
    return std::size_t(sourceChordType) * kWqTableEntries + wqEntryIndex(chordType, chordTension, interval);
}

// The ten tables, generated at build time from the voice-leading rules.
extern const std::int32_t kTensionTableData[kTensionTableEntries];

} // namespace zib::tbl
