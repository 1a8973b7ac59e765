#pragma once

#include "devices/core/CInsInstrument.h"

#include <string>
#include <vector>

namespace zib {

// The tree of the Configure Instruments dialog: the root "Instruments", one
// item per instrument, under it "Patch Names", "Note Names" and "Controller
// Names", under those one item per list and under each list its names.
struct InstrumentTreeItem {
    enum Level { Root = 0, Instrument = 1, Category = 2, List = 3, Name = 4 };

    Level level = Root;
    std::string text; // Windows-1252 bytes
    std::vector<InstrumentTreeItem> children;
};

InstrumentTreeItem BuildInstrumentTree(const InstrumentArray& instruments);

} // namespace zib
