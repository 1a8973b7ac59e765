#pragma once

#include "devices/core/CInsControllerNames.h"
#include "devices/core/CInsDrumEntry.h"
#include "devices/core/CInsNoteNames.h"
#include "devices/core/CInsPatchNames.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// One instrument definition: what a sound module plays, by name. A new or
// redefined instrument holds the General MIDI patch list (list 0, any bank)
// and the "Standard" controller list.
class CInsInstrument {
public:
    // The name of instrument 0, the fallback of every lookup.
    static constexpr std::string_view kDefaultName = "default";

    explicit CInsInstrument(std::string name = {});

    // Clears the four arrays and adds the two default lists.
    void Initialise();

    // Lookups (first match, -1 when none)
    int FindPatchList(int bank) const;
    int FindNoteList(int bank, int patch) const;
    int FindDrumEntry(int bank, int patch) const;

    std::string name; // compared without regard to case
    std::vector<CInsPatchNames> patchLists;
    std::vector<CInsNoteNames> noteLists;
    std::vector<CInsControllerNames> controllerLists;
    std::vector<CInsDrumEntry> drums;
};

// The instruments of the application; element 0 is "default".
using InstrumentArray = std::vector<std::shared_ptr<CInsInstrument>>;

// The index of the first instrument named `name` without regard to case; -1
// when none is (an empty name names no instrument).
int FindInstrument(const InstrumentArray& instruments, std::string_view name);

} // namespace zib
