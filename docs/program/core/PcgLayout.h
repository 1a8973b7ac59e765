#pragma once

#include <cstddef>
#include <cstdint>

namespace zib::pcg {

// Model letters of program files and their families: family A '9' (Wq8),
// '<' (Wq6Q / Wq6M), 'H' (WqT517); family B 'I' (Wq41), 'M' (WqR65); the Qe
// series 'F' (Qe4k) and 'X' (Qe9z).
constexpr bool IsFamilyA(int model)
{
    return model == '9' || model == '<' || model == 'H';
}
constexpr bool IsFamilyB(int model)
{
    return model == 'I' || model == 'M';
}
constexpr bool IsWqModel(int model)
{
    return IsFamilyA(model) || IsFamilyB(model);
}
constexpr bool IsQeModel(int model)
{
    return model == 'F' || model == 'X';
}

// File kinds a program document keeps (stored as LastOpenedFileType).
inline constexpr uint32_t kProgramItemType = 4; // the item kind of a program in a Qe bank

inline constexpr int kFileKindPcg = 3;  // .PCG
inline constexpr int kFileKindPrg = 11; // .PRG

// Which list a document shows: programs, or (Wq series) drum kits.
inline constexpr int kShowPrograms = 1;
inline constexpr int kShowDrumKits = 2;

// Record sizes of the Wq series.
inline constexpr size_t kProgramRecordA = 164;
inline constexpr size_t kProgramRecordB = 172;
inline constexpr size_t kDrumKitMapA = 1320; // 60 entries of 22 bytes
inline constexpr size_t kDrumKitMapB = 880;  // 88 entries of 10 bytes
inline constexpr size_t kDrumKitA = kProgramRecordA + kDrumKitMapA; // 1484: head and map
inline constexpr size_t kDrumKitB = kProgramRecordB + kDrumKitMapB; // 1052
inline constexpr size_t kMapEntryA = 22;
inline constexpr size_t kMapEntryB = 10;
inline constexpr int kMapEntriesA = 60;
inline constexpr int kMapEntriesB = 88; // keys 21 (A0) to 108 (C8)
inline constexpr int kFirstKeyB = 21;

// Program record size of a Wq model; 0 for any other.
constexpr size_t ProgramRecordSize(int model)
{
    return IsFamilyA(model) ? kProgramRecordA : IsFamilyB(model) ? kProgramRecordB : 0;
}
// Drum-kit item size (head and map) of a Wq model; 0 for any other.
constexpr size_t DrumKitSize(int model)
{
    return IsFamilyA(model) ? kDrumKitA : IsFamilyB(model) ? kDrumKitB : 0;
}
// How many name bytes a record of the model holds: 10 (A), 16 (B), 18 (Qe).
constexpr size_t RecordNameWidth(int model)
{
    return IsQeModel(model) ? 18 : IsFamilyB(model) ? 16 : 10;
}

// Limits of a program document's lists before it has a model; a document
// with one takes what its file keeps (PcgDocModel::ItemLimit). A clipboard
// block holds at most kMaxPrograms items.
inline constexpr int kMaxPrograms = 138;
inline constexpr int kMaxDrumKits = 16;

} // namespace zib::pcg
