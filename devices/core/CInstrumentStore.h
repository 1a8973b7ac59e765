#pragma once

#include "devices/core/CInsInstrument.h"
#include "devices/core/CInsNameEntry.h"
#include "devices/core/InsFileResult.h"
#include "devices/core/InstrumentUi.h"
#include "devices/core/MidiDeviceNames.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace zib {

class UserMidiPortMap;

// The names of 128 ports or devices ("%3d - %s").
using PortNameArray = std::array<std::string, 128>;

// The instrument definitions and port-instrument relations of the program, on
// disk and in the application object: the instrument file (Zib.icf), imports
// from .INS files and exports of one instrument, the relation file
// (zibinstr.ini), the MIDI device name lists, and the name lookups the MIDI
// views use. It works on the application's arrays, which it does not own.
class CInstrumentStore {
public:
    // What became of an instrument export.
    enum class ExportResult { Written, NoSuchInstrument, CannotOpenOutput };

    CInstrumentStore(InstrumentArray& instruments, bool& instrumentsLoaded, RelationArray& relations,
                     bool& relationsLoaded, PortNameArray& outPortNames, PortNameArray& inDeviceNames);
    CInstrumentStore(const CInstrumentStore&) = delete;
    CInstrumentStore& operator=(const CInstrumentStore&) = delete;

    // Where the files are and how they are headed. Zib.icf and zibinstr.ini
    // live in the folder of the settings file (the program's own folder is
    // read-only once installed); empty: no files at all.
    void SetConfigFolder(std::filesystem::path folder) { configFolder_ = std::move(folder); }
    void SetApplicationName(std::string name) { applicationName_ = std::move(name); }
    // The instrument file supplied with the program, read while the folder
    // holds none of its own.
    void SetSuppliedDefinitions(std::filesystem::path file) { suppliedDefinitions_ = std::move(file); }
    void SetUi(InstrumentUi* ui) { ui_ = ui ? ui : &silentUi_; }
    // The note-name alphabet of the settings, read at every note lookup.
    void SetKeyAlphabet(std::function<int()> alphabet) { keyAlphabet_ = std::move(alphabet); }
    // <folder>/Zib.icf and <folder>/zibinstr.ini; a file of the folder whose
    // name differs from these only in letter case is that file.
    std::filesystem::path InstrumentFilePath() const;
    std::filesystem::path RelationFilePath() const;

    // The instrument file. Load works once per run; it puts "default" first.
    // Save refuses (0) while nothing was loaded, and while the folder's
    // instrument file could not be read, so that file is never replaced by a
    // partial set.
    int SaveInstrumentDefinitions();
    int LoadInstrumentDefinitions();
    // Imports the instruments of an .INS file the user chooses among;
    // 1 when the instrument set may have changed.
    int ImportInstrumentsFromIns(const std::filesystem::path& path);
    ExportResult ExportInstrument(std::string_view name, const std::filesystem::path& path) const;
    // Removes the instrument of that name (never "default") and saves the
    // instrument file; false when nothing was removed.
    bool RemoveInstrument(std::string_view name);

    // The relation file
    int SavePortInstrumentRelations();
    int LoadPortInstrumentRelations();
    // Drops the relations of ports that are no longer enabled, then saves.
    void PurgePortInstrumentRelations(const UserMidiPortMap& outPorts);

    // Rebuilds the MIDI OUT port names and the MIDI IN device names.
    void EnumMidiDevices(const UserMidiPortMap& outPorts, const MidiDeviceNames& devices);
    // Deletes every instrument and relation (the loaded flags stay).
    void FreeInstrumentArrays();

    // Lookups by instrument name (an unknown or empty name looks in "default")
    std::string GetPatchName(std::string_view instrument, int bank, int program) const;
    std::string GetBankName(std::string_view instrument, int bank) const;
    std::string GetNoteName(std::string_view instrument, int bank, int patch, int note) const;
    std::string GetControllerName(std::string_view instrument, int controller) const;

    // Lookups by port and channel through the relations
    std::string GetInstrumentOfPort(int port, int channel) const;
    std::string GetPatchNameText(int port, int channel, int bank, int program) const;
    std::string GetBankNameText(int port, int channel, int bank) const;
    std::string GetNoteNameText(int port, int channel, int bank, int patch, int note) const;
    std::string GetControllerNameText(int port, int channel, int controller) const;
    std::string GetPortChannelText(int port, int channel) const;

    // The application's arrays
    InstrumentArray& Instruments() { return instruments_; }
    RelationArray& Relations() { return relations_; }
    const PortNameArray& OutPortNames() const { return outPortNames_; }
    const PortNameArray& InDeviceNames() const { return inDeviceNames_; }

private:
    const CInsInstrument* InstrumentOrDefault(std::string_view name) const;
    bool ReportParserFailure(InsFileResult result);

    InstrumentArray& instruments_;
    bool& instrumentsLoaded_;
    RelationArray& relations_;
    bool& relationsLoaded_;
    PortNameArray& outPortNames_;
    PortNameArray& inDeviceNames_;
    std::filesystem::path configFolder_;
    std::string applicationName_ = "Zib";
    std::filesystem::path suppliedDefinitions_;
    std::function<int()> keyAlphabet_;
    InstrumentUi silentUi_;
    InstrumentUi* ui_ = &silentUi_;
    bool definitionsUnreadable_ = false; // the folder's Zib.icf exists but could not be read
};

// "%3d - %s"
std::string FormatPortName(int number, std::string_view name);

// The file of `folder` named `name`, else one whose name differs only in
// letter case; folder / name when there is none.
std::filesystem::path FileInFolderIgnoringCase(const std::filesystem::path& folder, std::string_view name);

} // namespace zib
