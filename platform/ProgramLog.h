#pragma once

#include <string_view>

namespace zib {

// The program's log: one line per event worth keeping for whoever looks
// after the machine, written to the standard error stream, which a desktop
// session keeps (the journal, ~/.xsession-errors). Each line reads
// "zib: <text>". Safe from any thread; a line is written whole.
void WriteProgramLog(std::string_view text);

} // namespace zib
