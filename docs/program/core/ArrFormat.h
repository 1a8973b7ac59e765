#pragma once

#include "docs/program/core/ArrDocModel.h"
#include "midi/NameTableLoader.h"

#include <cstdint>
#include <string>

namespace zib {

// Texts of the arrangement view and pages (Windows-1252).

// The two forms of a program text: the code ("A11", "Dr4", "R11 ") while the
// view's program columns are narrow, the name ("A11  Piano") while they are
// widened. Banks and numbers follow the word's bank bits under the model's
// mask (0x340 family A, 0x740 'I' and 'M').
enum class ArrProgramForm { Code, Name };
std::string FormatArrProgramName(const ArrDocModel& doc, uint16_t word, ArrProgramForm form,
                                 const NameTables& tables = builtInNameTables());

// The position label of row `index`: family A "D%1d%1d", 'M' "U%1d%1d",
// 'I' "F%1d%1d" and from 64 on "G%1d%1d".
std::string ArrPositionLabel(int model, int index);

// The style of a style word: "%s: %s" of its three-character label and its
// name (built-in, the document's user style name, or "%s: UserSt%03d" with
// the user index when the names were not read or the index has none).
std::string ArrStyleLabel(int model, uint16_t style);
std::string ArrStyleText(const ArrDocModel& doc, uint16_t style, const NameTables& tables = builtInNameTables());

} // namespace zib
