#pragma once

#include "devices/core/CInsInstrument.h"

namespace zib::test {

// Every instrument of `is` holds what the same one of `was` holds: its lists
// with their names, banks and keys, and its drum entries; and both write the
// same instrument file.
void expectSameInstruments(const InstrumentArray& is, const InstrumentArray& was);

} // namespace zib::test
