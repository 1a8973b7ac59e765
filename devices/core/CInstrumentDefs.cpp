#include "devices/core/CInstrumentDefs.h"

#include "ui/core/AsciiCase.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace zib {

namespace {

// The longest list name the instrument file can hold: "Controller=" and the
// name make a line of at most 255 characters.
constexpr size_t kMaxWrittenListName = CLineTextFile::kMaxLineLength - std::string_view("Controller=").size();

// The file's lists of one kind by name: exactly, and without regard to case
// (the instrument file keeps one list per name in either case). The first
// list of a name counts.
template <class List>
class ListIndex {
public:
    explicit ListIndex(const std::vector<List>& lists)
    {
        for (const auto& list : lists) {
            exact_.try_emplace(list.name, &list);
            folded_.try_emplace(LowerAscii(list.name), &list);
        }
    }
    const List* Find(const std::string& name) const
    {
        if (auto it = exact_.find(name); it != exact_.end()) return it->second;
        if (auto it = folded_.find(LowerAscii(name)); it != folded_.end()) return it->second;
        return nullptr;
    }

private:
    std::unordered_map<std::string, const List*> exact_;
    std::unordered_map<std::string, const List*> folded_;
};

// Takes the names of the file's list that the instrument's list refers to.
template <class List>
void takeNames(List& list, const ListIndex<List>& fileLists)
{
    const List* source = fileLists.Find(list.name);
    if (!source) {
        const std::string bare = StripInsReferenceNotes(list.name);
        if (bare.empty() || bare == list.name) return;
        source = fileLists.Find(bare);
        if (!source) return;
        list.name = bare;
    }
    list.names = source->names;
}

// Gives every list of one kind that holds other names than an earlier list of
// the same name (without regard to case) a name of its own, "name (2)" ...,
// so that the instrument file, which keeps each list name once, loses nothing.
// Lists of instruments kept from before this load keep their names.
template <class List>
void distinctNames(InstrumentArray& instruments, std::vector<List> CInsInstrument::*lists,
                   const std::vector<bool>& loaded)
{
    std::map<std::string, const InsNameArray*> seen;
    for (size_t i = 0; i < instruments.size(); ++i)
        if (!loaded[i])
            for (const auto& list : (*instruments[i]).*lists)
                seen.try_emplace(LowerAscii(list.name), &list.names);
    for (size_t i = 0; i < instruments.size(); ++i) {
        if (!loaded[i]) continue;
        for (auto& list : (*instruments[i]).*lists) {
            auto found = seen.find(LowerAscii(list.name));
            if (found == seen.end()) {
                seen.emplace(LowerAscii(list.name), &list.names);
                continue;
            }
            if (*found->second == list.names) continue;
            std::string unique;
            for (int n = 2;; ++n) {
                const std::string suffix = " (" + std::to_string(n) + ")";
                unique = list.name.substr(0, kMaxWrittenListName - suffix.size()) + suffix;
                if (!seen.count(LowerAscii(unique))) break;
            }
            list.name = unique;
            seen.emplace(LowerAscii(unique), &list.names);
        }
    }
}

// Lists based on another list of their kind take its names where they have
// none: one level, in list order, from the first other list of that name.
template <class List>
void fillFromBasedOn(std::vector<List>& lists, const std::vector<std::string>& basedOn)
{
    for (size_t i = 0; i < lists.size() && i < basedOn.size(); ++i) {
        if (basedOn[i] == "none") continue;
        for (size_t j = 0; j < lists.size(); ++j) {
            if (j == i || !EqualIgnoringCase(lists[j].name, basedOn[i])) continue;
            for (size_t n = 0; n < 128; ++n)
                if (lists[i].names[n].empty()) lists[i].names[n] = lists[j].names[n];
            break;
        }
    }
}

} // namespace

std::string StripInsReferenceNotes(std::string_view reference)
{
    const size_t cut = std::min(reference.find(';'), reference.find("{{"));
    return std::string(TrimInsText(reference.substr(0, cut)));
}

InsFileResult CInstrumentDefs::CollectNames(const std::filesystem::path& path)
{
    Reset();
    wantedNames_.clear();
    if (InsFileResult r = Open(path); r != InsFileResult::Ok) return r;
    const InsFileResult r = RunPass(0);
    Close();
    return r;
}

InsFileResult CInstrumentDefs::CollectNamesFromText(std::string_view text)
{
    Reset();
    wantedNames_.clear();
    OpenText(text);
    const InsFileResult r = RunPass(0);
    Close();
    return r;
}

InsFileResult CInstrumentDefs::LoadSelected(const std::filesystem::path& path)
{
    Reset();
    if (InsFileResult r = Open(path); r != InsFileResult::Ok) return r;
    const InsFileResult r = RunPass(1);
    Close();
    return r;
}

InsFileResult CInstrumentDefs::LoadSelectedFromText(std::string_view text)
{
    Reset();
    OpenText(text);
    const InsFileResult r = RunPass(1);
    Close();
    return r;
}

void CInstrumentDefs::StartPass(int pass)
{
    pass_ = pass;
    currentInstrument_ = currentPatchList_ = currentNoteList_ = currentControllerList_ = -1;
    sectionActive_ = insideList_ = false;
    patchNameLists_.clear();
    noteNameLists_.clear();
    controllerNameLists_.clear();
    patchBasedOn_.clear();
    noteBasedOn_.clear();
    controllerBasedOn_.clear();
    loaded_.clear();
}

InsFileResult CInstrumentDefs::RunPass(int pass)
{
    StartPass(pass);
    const InsFileResult r = ReadInsFile();
    if (r == InsFileResult::Ok && pass == 1) {
        ResolveNames();
        KeepListNamesDistinct();
    }
    patchNameLists_.clear();
    noteNameLists_.clear();
    controllerNameLists_.clear();
    patchBasedOn_.clear();
    noteBasedOn_.clear();
    controllerBasedOn_.clear();
    loaded_.clear();
    return r;
}

CInsInstrument* CInstrumentDefs::Current()
{
    if (currentInstrument_ < 0 || size_t(currentInstrument_) >= instruments_.size()) return nullptr;
    return instruments_[size_t(currentInstrument_)].get();
}

bool CInstrumentDefs::LoadedNow(const CInsInstrument* instrument) const
{
    return loaded_.count(instrument) != 0;
}

// Section headings: the instrument section counts in both passes, the name
// lists only while loading.
InsFileResult CInstrumentDefs::OnInstrumentDefinitionsHeading()
{
    sectionActive_ = true;
    return InsFileResult::Ok;
}

InsFileResult CInstrumentDefs::OnPatchNamesHeading()
{
    sectionActive_ = pass_ == 1;
    return InsFileResult::Ok;
}

InsFileResult CInstrumentDefs::OnNoteNamesHeading()
{
    sectionActive_ = pass_ == 1;
    return InsFileResult::Ok;
}

InsFileResult CInstrumentDefs::OnControllerNamesHeading()
{
    sectionActive_ = pass_ == 1;
    return InsFileResult::Ok;
}

InsFileResult CInstrumentDefs::OnRpnNamesHeading()
{
    sectionActive_ = false;
    return InsFileResult::Ok;
}

InsFileResult CInstrumentDefs::OnNrpnNamesHeading()
{
    sectionActive_ = false;
    return InsFileResult::Ok;
}

InsFileResult CInstrumentDefs::OnOtherHeading()
{
    sectionActive_ = false;
    return InsFileResult::Ok;
}

// A list heading opens the file's list of that name; a second heading of the
// same name (without regard to case) goes on filling the first list.
InsFileResult CInstrumentDefs::OnListHeading()
{
    if (!sectionActive_ || pass_ != 1) return InsFileResult::Ok;
    const std::string& name = fields_.name;
    auto open = [&name](auto& lists, int& current, std::vector<std::string>& basedOn, auto make) {
        for (size_t i = 0; i < lists.size(); ++i)
            if (EqualIgnoringCase(lists[i].name, name)) {
                current = int(i);
                return;
            }
        auto list = make();
        list.name = name;
        lists.push_back(std::move(list));
        basedOn.emplace_back("none");
        current = int(lists.size() - 1);
    };
    switch (fields_.section) {
    case InsSection::PatchNames:
        open(patchNameLists_, currentPatchList_, patchBasedOn_, [] { return CInsPatchNames(); });
        break;
    case InsSection::NoteNames:
        open(noteNameLists_, currentNoteList_, noteBasedOn_, [] { return CInsNoteNames(); });
        break;
    case InsSection::ControllerNames:
        open(controllerNameLists_, currentControllerList_, controllerBasedOn_, [] { return CInsControllerNames(); });
        break;
    default:
        return InsFileResult::Ok;
    }
    insideList_ = true;
    return InsFileResult::Ok;
}

InsFileResult CInstrumentDefs::OnListEntry()
{
    if (!sectionActive_ || !insideList_ || pass_ != 1) return InsFileResult::Ok;
    const int n = fields_.entryNumber;
    // number=name, or BasedOn=list: the list whose names fill the empty ones
    auto setName = [this, n](auto& lists, int current, std::vector<std::string>& basedOn) {
        if (current < 0 || size_t(current) >= lists.size()) return;
        if (fields_.basedOn)
            basedOn[size_t(current)] = fields_.entryText;
        else if (n >= 0 && n <= 127)
            lists[size_t(current)].names[size_t(n)] = fields_.entryText;
    };
    switch (fields_.section) {
    case InsSection::PatchNames:
        setName(patchNameLists_, currentPatchList_, patchBasedOn_);
        break;
    case InsSection::NoteNames:
        setName(noteNameLists_, currentNoteList_, noteBasedOn_);
        if (fields_.basedOn && currentNoteList_ >= 0)
            noteNameLists_[size_t(currentNoteList_)].basedOn = fields_.entryText;
        break;
    case InsSection::ControllerNames:
        setName(controllerNameLists_, currentControllerList_, controllerBasedOn_);
        break;
    default:
        break;
    }
    return InsFileResult::Ok;
}

InsFileResult CInstrumentDefs::OnInstrumentHeading()
{
    if (!sectionActive_) return InsFileResult::Ok;
    const std::string& name = fields_.name;
    if (pass_ == 0) {
        wantedNames_.push_back(name);
        return InsFileResult::Ok;
    }
    insideList_ = false;
    currentInstrument_ = -1;
    // An instrument without a name would answer every lookup of "no instrument".
    if (name.empty() || std::find(wantedNames_.begin(), wantedNames_.end(), name) == wantedNames_.end())
        return InsFileResult::Ok;
    insideList_ = true;
    if (const int found = FindInstrument(instruments_, name); found >= 0) {
        instruments_[size_t(found)]->Initialise();
        currentInstrument_ = found;
    } else {
        if (name == CInsInstrument::kDefaultName) return InsFileResult::Ok;
        instruments_.push_back(std::make_shared<CInsInstrument>(name));
        currentInstrument_ = int(instruments_.size() - 1);
    }
    loaded_.insert(Current());
    return InsFileResult::Ok;
}

// Patch[bank]=list | a..b; a single number says nothing we use.
InsFileResult CInstrumentDefs::OnPatchLine()
{
    CInsInstrument* instrument = Current();
    if (!instrument || fields_.valueKind == InsValueKind::Number) return InsFileResult::Ok;
    const InsLineFields& f = fields_;
    CInsPatchNames* list = nullptr;
    if (f.patchBank < 0) {
        if (instrument->patchLists.empty()) instrument->patchLists.push_back(CInsPatchNames::GeneralMidi());
        list = &instrument->patchLists[0];
        list->bankText = f.patchBankText;
        if (f.valueKind == InsValueKind::Text) list->name = f.valueText;
    } else if (const int found = instrument->FindPatchList(f.patchBank); found >= 0) {
        list = &instrument->patchLists[size_t(found)];
        list->bankText = f.patchBankText;
        if (f.valueKind != InsValueKind::Range) list->name = f.valueText;
    } else {
        CInsPatchNames added;
        added.bank = f.patchBank;
        added.bankText = f.patchBankText;
        added.name = f.valueText;
        instrument->patchLists.push_back(std::move(added));
        list = &instrument->patchLists.back();
    }
    if (f.valueKind == InsValueKind::Range) list->name = NumberInsNames(list->names, f.firstNumber, f.secondNumber);
    return InsFileResult::Ok;
}

// Key[bank,patch]=list | a..b; a single number says nothing we use.
InsFileResult CInstrumentDefs::OnKeyLine()
{
    CInsInstrument* instrument = Current();
    if (!instrument || fields_.valueKind == InsValueKind::Number) return InsFileResult::Ok;
    const InsLineFields& f = fields_;
    CInsNoteNames* list = nullptr;
    if (f.keyBank < 0 && f.keyPatch < 0) {
        // List 0 is the any-bank, any-patch list.
        auto& lists = instrument->noteLists;
        if (lists.empty())
            lists.push_back(CInsNoteNames::GeneralMidiDrums());
        else if (lists[0].bank != -1 || lists[0].patch != -1)
            lists.insert(lists.begin(), CInsNoteNames::GeneralMidiDrums());
        list = &lists[0];
        list->keyText = f.keyText;
        if (f.valueKind == InsValueKind::Text) list->name = f.valueText;
    } else if (const int found = instrument->FindNoteList(f.keyBank, f.keyPatch); found >= 0) {
        list = &instrument->noteLists[size_t(found)];
        list->keyText = f.keyText;
        if (f.valueKind != InsValueKind::Range) list->name = f.valueText;
    } else {
        CInsNoteNames added;
        added.name = f.valueText;
        added.keyText = f.keyText;
        added.bank = f.keyBank;
        added.patch = f.keyPatch;
        instrument->noteLists.push_back(std::move(added));
        list = &instrument->noteLists.back();
    }
    if (f.valueKind == InsValueKind::Range) list->name = NumberInsNames(list->names, f.firstNumber, f.secondNumber);
    return InsFileResult::Ok;
}

// Control...=list | a..b; a single number says nothing we use.
InsFileResult CInstrumentDefs::OnControllerLine()
{
    CInsInstrument* instrument = Current();
    if (!instrument || fields_.valueKind == InsValueKind::Number) return InsFileResult::Ok;
    if (instrument->controllerLists.empty()) instrument->controllerLists.push_back(CInsControllerNames::Standard());
    CInsControllerNames& list = instrument->controllerLists[0];
    // A name too long to be written back as "Controller=name" is not taken.
    if (fields_.valueText.size() > kMaxWrittenListName) return InsFileResult::Ok;
    if (fields_.valueKind == InsValueKind::Range)
        list.name = NumberInsNames(list.names, fields_.firstNumber, fields_.secondNumber);
    else if (fields_.valueKind != InsValueKind::None)
        list.name = fields_.valueText;
    return InsFileResult::Ok;
}

// Drum[bank,patch]=1 marks a drum sound, any other number takes the mark away.
InsFileResult CInstrumentDefs::OnDrumLine()
{
    CInsInstrument* instrument = Current();
    if (!instrument || fields_.valueKind != InsValueKind::Number) return InsFileResult::Ok;
    const InsLineFields& f = fields_;
    const int found = instrument->FindDrumEntry(f.keyBank, f.keyPatch);
    if (f.firstNumber != 1) {
        if (found >= 0) instrument->drums.erase(instrument->drums.begin() + found);
        return InsFileResult::Ok;
    }
    if (found >= 0) return InsFileResult::Ok;
    CInsDrumEntry entry{f.keyBank, f.keyPatch, f.keyText};
    if (f.keyBank < 0 && f.keyPatch < 0)
        instrument->drums.insert(instrument->drums.begin(), std::move(entry));
    else
        instrument->drums.push_back(std::move(entry));
    return InsFileResult::Ok;
}

// After loading: lists based on another list of the file take its names where
// they have none; the loaded instruments' lists take the names of the file's lists
// they refer to. "default" keeps its built-in names.
void CInstrumentDefs::ResolveNames()
{
    fillFromBasedOn(patchNameLists_, patchBasedOn_);
    fillFromBasedOn(noteNameLists_, noteBasedOn_);
    fillFromBasedOn(controllerNameLists_, controllerBasedOn_);
    const ListIndex<CInsPatchNames> patchLists(patchNameLists_);
    const ListIndex<CInsNoteNames> noteLists(noteNameLists_);
    const ListIndex<CInsControllerNames> controllerLists(controllerNameLists_);
    for (const auto& instrument : instruments_) {
        if (!LoadedNow(instrument.get()) || instrument->name == CInsInstrument::kDefaultName) continue;
        for (auto& list : instrument->patchLists)
            takeNames(list, patchLists);
        for (auto& list : instrument->noteLists)
            takeNames(list, noteLists);
        if (!instrument->controllerLists.empty()) takeNames(instrument->controllerLists[0], controllerLists);
    }
}

void CInstrumentDefs::KeepListNamesDistinct()
{
    std::vector<bool> loaded(instruments_.size());
    for (size_t i = 0; i < instruments_.size(); ++i)
        loaded[i] = LoadedNow(instruments_[i].get());
    distinctNames(instruments_, &CInsInstrument::patchLists, loaded);
    distinctNames(instruments_, &CInsInstrument::noteLists, loaded);
    distinctNames(instruments_, &CInsInstrument::controllerLists, loaded);
}

} // namespace zib
