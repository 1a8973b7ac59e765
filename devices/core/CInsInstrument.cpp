#include "devices/core/CInsInstrument.h"

#include "ui/core/AsciiCase.h"

namespace zib {

CInsInstrument::CInsInstrument(std::string instrumentName) : name(std::move(instrumentName))
{
    Initialise();
}

void CInsInstrument::Initialise()
{
    patchLists.clear();
    noteLists.clear();
    controllerLists.clear();
    drums.clear();
    patchLists.push_back(CInsPatchNames::GeneralMidi());
    controllerLists.push_back(CInsControllerNames::Standard());
}

int CInsInstrument::FindPatchList(int bank) const
{
    for (size_t i = 0; i < patchLists.size(); ++i)
        if (patchLists[i].bank == bank) return int(i);
    return -1;
}

int CInsInstrument::FindNoteList(int bank, int patch) const
{
    for (size_t i = 0; i < noteLists.size(); ++i)
        if (noteLists[i].bank == bank && noteLists[i].patch == patch) return int(i);
    return -1;
}

int CInsInstrument::FindDrumEntry(int bank, int patch) const
{
    for (size_t i = 0; i < drums.size(); ++i)
        if (drums[i].bank == bank && drums[i].patch == patch) return int(i);
    return -1;
}

int FindInstrument(const InstrumentArray& instruments, std::string_view name)
{
    if (name.empty()) return -1;
    for (size_t i = 0; i < instruments.size(); ++i)
        if (instruments[i] && EqualIgnoringCase(instruments[i]->name, name)) return int(i);
    return -1;
}

} // namespace zib
