#pragma once

#include "devices/core/CInsInstrument.h"

#include <string>
#include <string_view>

namespace zib {

// The text of the program's instrument file (Zib.icf): every name list once
// (by name, without regard to case) in its section, then every instrument's
// block. Lines end in CR LF; comment lines begin with ";".
std::string FormatInstrumentDefinitions(const InstrumentArray& instruments, std::string_view applicationName);

// The text of one instrument exported as an .INS file.
std::string FormatInstrumentExport(const CInsInstrument& instrument);

} // namespace zib
