#pragma once

#include "devices/core/CInsFileReader.h"
#include "devices/core/CInsInstrument.h"

#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

namespace zib {

// The instrument definition parser. Pass 0 collects the names of the
// instruments a file defines; pass 1 loads those still wanted into the
// instrument array, then gives their lists the names of the file's
// ".Patch Names", ".Note Names" and ".Controller Names" lists.
class CInstrumentDefs : public CInsFileReader {
public:
    // The array the parser fills (the application's).
    explicit CInstrumentDefs(InstrumentArray& instruments) : instruments_(instruments) {}

    // Pass 0: the instrument names of the file, in file order, into WantedNames().
    InsFileResult CollectNames(const std::filesystem::path& path);
    // Pass 1: loads the instruments named in WantedNames() from the file.
    InsFileResult LoadSelected(const std::filesystem::path& path);
    // The same two passes over text already in memory.
    InsFileResult CollectNamesFromText(std::string_view text);
    InsFileResult LoadSelectedFromText(std::string_view text);

    // The instrument names to load; the caller narrows them between the passes.
    std::vector<std::string>& WantedNames() { return wantedNames_; }

protected:
    InsFileResult OnInstrumentDefinitionsHeading() override;
    InsFileResult OnPatchNamesHeading() override;
    InsFileResult OnNoteNamesHeading() override;
    InsFileResult OnControllerNamesHeading() override;
    InsFileResult OnRpnNamesHeading() override;
    InsFileResult OnNrpnNamesHeading() override;
    InsFileResult OnOtherHeading() override;
    InsFileResult OnListHeading() override;
    InsFileResult OnListEntry() override;
    InsFileResult OnPatchLine() override;
    InsFileResult OnDrumLine() override;
    InsFileResult OnKeyLine() override;
    InsFileResult OnControllerLine() override;
    InsFileResult OnRpnLine() override { return InsFileResult::Ok; }
    InsFileResult OnNrpnLine() override { return InsFileResult::Ok; }
    InsFileResult OnBankSelMethodLine() override { return InsFileResult::Ok; }
    InsFileResult OnInstrumentHeading() override;

private:
    InsFileResult RunPass(int pass);
    void StartPass(int pass);
    CInsInstrument* Current();
    void ResolveNames();
    void KeepListNamesDistinct();
    bool LoadedNow(const CInsInstrument* instrument) const;

    InstrumentArray& instruments_;
    int currentInstrument_ = -1;
    int currentPatchList_ = -1;
    int currentNoteList_ = -1;
    int currentControllerList_ = -1;
    std::vector<std::string> wantedNames_;
    int pass_ = 0;
    bool sectionActive_ = false;
    bool insideList_ = false;
    // The file's name lists; they live for one load.
    std::vector<CInsPatchNames> patchNameLists_;
    std::vector<CInsNoteNames> noteNameLists_;
    std::vector<CInsControllerNames> controllerNameLists_;
    // Each list's BasedOn name ("none" when it has none), by list index
    std::vector<std::string> patchBasedOn_;
    std::vector<std::string> noteBasedOn_;
    std::vector<std::string> controllerBasedOn_;
    // The instruments this load created or redefined.
    std::unordered_set<const CInsInstrument*> loaded_;
};

// A list reference of a definition line cut before the notes some files
// append to it ("GM Bank   {{ GM_BANK }}", "Drums   ; MSB=120") and trimmed:
// used when the reference as written names no list of the file.
std::string StripInsReferenceNotes(std::string_view reference);

} // namespace zib
