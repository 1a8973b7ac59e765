#pragma once

// Reads the name tables of the Wq-series keyboards from the tab-separated
// text files of a folder (the program's data/names). The files are UTF-8;
// names are kept as Windows-1252 bytes like the keyboard files. Lines that
// are empty or begin with '#' are skipped. Nothing here throws or stops at a
// bad line: every line that cannot be used, every file that cannot be read
// and every row that no file supplied is reported in NameTables::problems(),
// and the lookups give their "not found" text for what is missing.

#include "midi/NameTables.h"

#include <filesystem>
#include <string_view>

namespace zib {

class NameTableLoader {
public:
    // The files of a name-table folder and their columns
    enum class FileKind {
        ProgramBanks, // "program-banks.tsv": model, bank (A-E or Kit), index, entry
        Multisamples, // "multisamples.tsv": model, number, name
        StyleNames,   // "style-names.tsv": model, index, name
        ProgramMaps,  // "program-maps.tsv": from, to, source number, source position,
                      //                     target number, target position
    };
    static const char* fileName(FileKind kind);

    // Loading
    // Every file of `folder`, then the report of the rows that are missing.
    static NameTables loadFolder(const std::filesystem::path& folder);
    // The content of one file, added to `tables`.
    static void loadText(FileKind kind, std::string_view text, NameTables& tables);
    // Reports the rows of the tables of `kind` that are still absent.
    static void reportMissingRows(FileKind kind, NameTables& tables);
};

// The tables of the program's data folder, loaded on first use.
const NameTables& builtInNameTables();

} // namespace zib
