#include "devices/core/CInstrumentStore.h"

#include "ui/core/AsciiCase.h"
#include "ui/core/UserMidiPortMap.h"
#include "devices/core/CInstrumentDefs.h"
#include "devices/core/CInstrumentFile.h"
#include "devices/core/InsFileWriter.h"
#include "midi/ValueTexts.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace zib {

namespace {

// The wait cursor and the progress window for the length of one operation.
class WaitScope {
public:
    explicit WaitScope(InstrumentUi& ui) : ui_(ui) { ui_.BeginWait(); }
    ~WaitScope() { ui_.EndWait(); }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;

private:
    InstrumentUi& ui_;
};

class ProgressScope {
public:
    ProgressScope(InstrumentUi& ui, InstrumentProgress what) : ui_(ui) { ui_.ProgressStart(what); }
    ~ProgressScope() { ui_.ProgressEnd(); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;
    void Step() { ui_.ProgressStep(); }

private:
    InstrumentUi& ui_;
};

bool enabledPort(const UserMidiPortMap& ports, int port)
{
    return ports[port].enabled != 0 && ports[port].deviceId < 128;
}

bool fileExists(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// Writes a file of the settings folder, making the folder first when the
// program has not written its settings yet.
bool writeIntoFolder(const std::filesystem::path& folder, const std::filesystem::path& path,
                     const std::string& text)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return writeFileAtomically(path, text) == FileIoError::None;
}

} // namespace

std::filesystem::path FileInFolderIgnoringCase(const std::filesystem::path& folder, std::string_view name)
{
    std::error_code ec;
    if (std::filesystem::is_regular_file(folder / name, ec)) return folder / name;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (EqualIgnoringCase(it->path().filename().string(), name) && it->is_regular_file(ec))
            return it->path();
    return folder / name;
}

std::string FormatPortName(int number, std::string_view name)
{
    char head[16];
    std::snprintf(head, sizeof head, "%3d - ", number);
    return head + std::string(name);
}

CInstrumentStore::CInstrumentStore(InstrumentArray& instruments, bool& instrumentsLoaded,
                                   RelationArray& relations, bool& relationsLoaded,
                                   PortNameArray& outPortNames, PortNameArray& inDeviceNames)
    : instruments_(instruments), instrumentsLoaded_(instrumentsLoaded), relations_(relations),
      relationsLoaded_(relationsLoaded), outPortNames_(outPortNames), inDeviceNames_(inDeviceNames)
{
}

std::filesystem::path CInstrumentStore::InstrumentFilePath() const
{
    return FileInFolderIgnoringCase(configFolder_, applicationName_ + ".icf");
}

std::filesystem::path CInstrumentStore::RelationFilePath() const
{
    return FileInFolderIgnoringCase(configFolder_, "zibinstr.ini");
}

bool CInstrumentStore::ReportParserFailure(InsFileResult result)
{
    if (result == InsFileResult::Ok) return false;
    if (result != InsFileResult::CannotOpen) ui_->Message(InstrumentMessage::CannotReadInstrumentNames, {});
    return true;
}

int CInstrumentStore::SaveInstrumentDefinitions()
{
    if (configFolder_.empty() || !instrumentsLoaded_ || definitionsUnreadable_) return 0;
    const std::string text = FormatInstrumentDefinitions(instruments_, applicationName_);
    return writeIntoFolder(configFolder_, InstrumentFilePath(), text) ? 1 : 0;
}

int CInstrumentStore::LoadInstrumentDefinitions()
{
    if (instrumentsLoaded_) return 1;
    instrumentsLoaded_ = true;
    ProgressScope progress(*ui_, InstrumentProgress::LoadingInstrumentDefinitions);
    if (instruments_.empty() || !instruments_[0] || instruments_[0]->name != CInsInstrument::kDefaultName)
        instruments_.insert(instruments_.begin(),
                            std::make_shared<CInsInstrument>(std::string(CInsInstrument::kDefaultName)));
    progress.Step();
    if (configFolder_.empty()) return 0;

    WaitScope wait(*ui_);
    std::filesystem::path path = InstrumentFilePath();
    if (!fileExists(path) && !suppliedDefinitions_.empty()) path = suppliedDefinitions_;
    CInstrumentDefs defs(instruments_);
    InsFileResult r = defs.CollectNames(path);
    if (ReportParserFailure(r)) {
        definitionsUnreadable_ = r != InsFileResult::CannotOpen && path == InstrumentFilePath();
        return 0;
    }
    progress.Step();
    r = defs.LoadSelected(path);
    if (ReportParserFailure(r)) {
        definitionsUnreadable_ = path == InstrumentFilePath();
        ui_->Message(InstrumentMessage::CannotReadInstrumentDefinitions, {});
        return 0;
    }
    progress.Step();
    return 1;
}

int CInstrumentStore::ImportInstrumentsFromIns(const std::filesystem::path& path)
{
    // The set on disk is rewritten below: it must be in memory first.
    LoadInstrumentDefinitions();
    WaitScope wait(*ui_);
    CInstrumentDefs defs(instruments_);
    if (ReportParserFailure(defs.CollectNames(path))) {
        ui_->Message(InstrumentMessage::CannotReadDefinitionsFromFile, path.string());
        return 0;
    }
    if (!ui_->ChooseInstruments(defs.WantedNames())) return 0;
    bool anyName = false;
    for (const auto& name : defs.WantedNames())
        anyName = anyName || !name.empty();
    if (!anyName) return 1;
    if (ReportParserFailure(defs.LoadSelected(path))) {
        ui_->Message(InstrumentMessage::CannotReadInstrumentDefinitions, {});
        return 0;
    }
    SaveInstrumentDefinitions();
    return 1;
}

CInstrumentStore::ExportResult CInstrumentStore::ExportInstrument(std::string_view name,
                                                                  const std::filesystem::path& path) const
{
    const int index = FindInstrument(instruments_, name);
    if (index < 0) return ExportResult::NoSuchInstrument;
    const std::string text = FormatInstrumentExport(*instruments_[size_t(index)]);
    return writeFileAtomically(path, text) == FileIoError::None ? ExportResult::Written
                                                                : ExportResult::CannotOpenOutput;
}

bool CInstrumentStore::RemoveInstrument(std::string_view name)
{
    const int index = FindInstrument(instruments_, name);
    if (index <= 0) return false;
    WaitScope wait(*ui_);
    instruments_.erase(instruments_.begin() + index);
    SaveInstrumentDefinitions();
    return true;
}

int CInstrumentStore::SavePortInstrumentRelations()
{
    if (configFolder_.empty()) return 0;
    const std::string text = CInstrumentFile::FormatRelations(relations_, applicationName_);
    if (!writeIntoFolder(configFolder_, RelationFilePath(), text)) return 0;
    // Memory and file agree now: a later load must not read them twice.
    relationsLoaded_ = true;
    return 1;
}

int CInstrumentStore::LoadPortInstrumentRelations()
{
    if (configFolder_.empty()) return 0;
    if (relationsLoaded_) return 1;
    ProgressScope progress(*ui_, InstrumentProgress::LoadingPortRelations);
    progress.Step();
    progress.Step();
    WaitScope wait(*ui_);
    RelationArray read;
    CInstrumentFile file;
    if (file.ReadRelations(RelationFilePath(), read) != InsFileResult::Ok) {
        relationsLoaded_ = false;
        return 0;
    }
    // The file holds every relation: it replaces what memory held.
    relations_ = std::move(read);
    relationsLoaded_ = true;
    return 1;
}

void CInstrumentStore::PurgePortInstrumentRelations(const UserMidiPortMap& outPorts)
{
    for (size_t i = relations_.size(); i-- > 0;) {
        const int port = relations_[i] ? relations_[i]->port : -1;
        if (port < 0 || port >= UserMidiPortMap::kPorts || !enabledPort(outPorts, port))
            relations_.erase(relations_.begin() + std::ptrdiff_t(i));
    }
    SavePortInstrumentRelations();
}

void CInstrumentStore::EnumMidiDevices(const UserMidiPortMap& outPorts, const MidiDeviceNames& devices)
{
    for (auto& name : inDeviceNames_)
        name.clear();
    for (auto& name : outPortNames_)
        name.clear();
    const int inCount = std::min(devices.InDeviceCount(), int(inDeviceNames_.size()));
    for (int i = 0; i < inCount; ++i) {
        const auto name = devices.InDeviceName(i);
        inDeviceNames_[size_t(i)] = name ? FormatPortName(i, *name) : FormatPortName(i, "").substr(0, 3);
    }
    for (int p = 0; p < UserMidiPortMap::kPorts; ++p) {
        const int device = enabledPort(outPorts, p) ? outPorts[p].deviceId : outPorts[0].deviceId;
        const auto name = device < devices.OutDeviceCount() ? devices.OutDeviceName(device) : std::nullopt;
        outPortNames_[size_t(p)] =
            name ? FormatPortName(p + 1, *name) : FormatPortName(p + 1, "").substr(0, 3);
    }
}

void CInstrumentStore::FreeInstrumentArrays()
{
    instruments_.clear();
    relations_.clear();
}

const CInsInstrument* CInstrumentStore::InstrumentOrDefault(std::string_view name) const
{
    if (instruments_.empty()) return nullptr;
    const int index = FindInstrument(instruments_, name);
    return instruments_[size_t(index < 0 ? 0 : index)].get();
}

std::string CInstrumentStore::GetPatchName(std::string_view name, int bank, int program) const
{
    if (program < 0 || program > 127) program = 0;
    const CInsInstrument* instrument = InstrumentOrDefault(name);
    if (!instrument || instrument->patchLists.empty()) return std::to_string(program);
    if (bank < 0) return instrument->patchLists[0].names[size_t(program)];
    const int found = instrument->FindPatchList(bank);
    const std::string& patch = instrument->patchLists[size_t(found < 0 ? 0 : found)].names[size_t(program)];
    return patch.empty() ? std::to_string(program) : patch;
}

std::string CInstrumentStore::GetBankName(std::string_view name, int bank) const
{
    const std::string fallback = std::to_string(bank < 0 ? 0 : bank);
    const CInsInstrument* instrument = InstrumentOrDefault(name);
    if (!instrument || instrument->patchLists.empty()) return fallback;
    if (bank < 0) return instrument->patchLists[0].name;
    const int found = instrument->FindPatchList(bank);
    return std::to_string(bank) + "-" + instrument->patchLists[size_t(found < 0 ? 0 : found)].name;
}

std::string CInstrumentStore::GetNoteName(std::string_view name, int bank, int patch, int note) const
{
    if (note < 0 || note > 127) note = 0;
    if (patch < 0 || patch > 127) patch = -1;
    const CInsInstrument* instrument = InstrumentOrDefault(name);
    if (!instrument) return std::to_string(note);
    const int alphabet = keyAlphabet_ ? keyAlphabet_() : 0;
    // The list of this bank and patch; failing that one that takes any patch,
    // any bank, or both ("*" in its key). An unknown bank matches only "*".
    int found = instrument->FindNoteList(bank < 0 ? -1 : bank, patch);
    if (found < 0 && bank >= 0 && patch >= 0) found = instrument->FindNoteList(bank, -1);
    if (found < 0 && bank >= 0) found = instrument->FindNoteList(-1, patch);
    if (found < 0 && patch >= 0) found = instrument->FindNoteList(-1, -1);
    if (found < 0) return GetNoteOctaveText(note, alphabet);
    const std::string& text = instrument->noteLists[size_t(found)].names[size_t(note)];
    return text.empty() ? GetNoteOctaveText(note, alphabet) : text;
}

std::string CInstrumentStore::GetControllerName(std::string_view name, int controller) const
{
    const std::string fallback = std::to_string(controller);
    if (controller < 0 || controller > 127) return fallback;
    const CInsInstrument* instrument = InstrumentOrDefault(name);
    if (!instrument || instrument->controllerLists.empty()) return fallback;
    const std::string& text = instrument->controllerLists[0].names[size_t(controller)];
    return text.empty() ? fallback : text;
}

std::string CInstrumentStore::GetInstrumentOfPort(int port, int channel) const
{
    for (const auto& relation : relations_)
        if (relation && relation->port == port && relation->channel == channel)
            return relation->instrumentName;
    return {};
}

std::string CInstrumentStore::GetPatchNameText(int port, int channel, int bank, int program) const
{
    return GetPatchName(GetInstrumentOfPort(port, channel), bank, program);
}

std::string CInstrumentStore::GetBankNameText(int port, int channel, int bank) const
{
    return GetBankName(GetInstrumentOfPort(port, channel), bank);
}

std::string CInstrumentStore::GetNoteNameText(int port, int channel, int bank, int patch, int note) const
{
    return GetNoteName(GetInstrumentOfPort(port, channel), bank, patch, note);
}

std::string CInstrumentStore::GetControllerNameText(int port, int channel, int controller) const
{
    return GetControllerName(GetInstrumentOfPort(port, channel), controller);
}

std::string CInstrumentStore::GetPortChannelText(int port, int channel) const
{
    if (port < 0 || port > 127) port = 0;
    for (const auto& relation : relations_)
        if (relation && relation->port == port && relation->channel == channel)
            return FormatPortName(port + 1, relation->instrumentName);
    return outPortNames_[size_t(port)];
}

} // namespace zib
