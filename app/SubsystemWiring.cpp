#include "app/SubsystemWiring.h"

#include "app/CMainFrame.h"
#include "app/CZibApp.h"
#include "app/dialogs/CMidiToQeStyPropSheet.h"
#include "app/dialogs/CMidiToWqStyPropSheet.h"
#include "app/dialogs/CStyToMidiMethodDlg.h"
#include "ui/ZibSubsystems.h"
#include "devices/CInstrumentNames.h"
#include "devices/CInstrumentTrackNames.h"
#include "devices/InstrumentsSubsystem.h"
#include "devices/core/CInstrumentStore.h"
#include "devices/MidiSetupSubsystem.h"
#include "devices/PlaybackSubsystem.h"
#include "devices/dialogs/CStylePlaybackConsole.h"
#include "docs/program/ProgramDocTemplates.h"
#include "docs/style/StyleDocTemplates.h"
#include "mididoc/MidiDocSubsystem.h"
#include "styles/CMidiCollect.h"
#include "styles/CQeMidiCollect.h"
#include "styles/PsrStyleConversion.h"

#include <fstream>

namespace zib {

namespace {

// A log of a collection or conversion: created (an existing one truncated)
// when it can be; without it the run logs nothing but goes on.
class RunLog {
public:
    explicit RunLog(const std::string& path) : file_(path, std::ios::binary | std::ios::trunc) {}
    std::ostream* stream() { return file_.is_open() ? &file_ : nullptr; }

private:
    std::ofstream file_;
};

CollectResult collectResultOf(const CvCollectResult& r)
{
    return {r.code, r.errorText, r.outputPath.string()};
}

// The converters take the settings of the moment they start.
void connectConverters(ZibSubsystems& s)
{
    s.CollectWqCvMidi = [](const std::string& chosenPath, const std::string& logPath) {
        const ZibSettings& settings = wxGetApp().Settings();
        RunLog log(logPath);
        return collectResultOf(CollectWqCvMidi(
            chosenPath, WqCvCollectSettings{settings.KeyChordDetermination, settings.KeyChord},
            log.stream()));
    };
    s.CollectQeCvMidi = [](const std::string& chosenPath, const std::string& logPath) {
        const ZibSettings& settings = wxGetApp().Settings();
        RunLog log(logPath);
        return collectResultOf(CollectQeCvMidi(
            chosenPath, QeCvCollectSettings{settings.QeKeyChordDetermination, settings.QeKeyChord},
            log.stream(), nullptr, nullptr));
    };
    s.ConvertPsrStyle = [](const std::vector<uint8_t>& image, const std::string& fileName,
                           const std::string& dumpLogPath) {
        PsrConvertSettings settings;
        settings.psrStyToQeSty = wxGetApp().Settings().PsrStyToQeSty;
        settings.outputCapacity = 300000;
        RunLog log(dumpLogPath);
        PsrConversionResult r = ConvertPsrStyle(image, fileName, settings, log.stream());
        return PsrConvertResult{r.code, std::move(r.errorText), std::move(r.styleResource), r.styleName};
    };
}

void connectSettingsDialogs(ZibSubsystems& s)
{
    s.WqConversionSheet = [](WqConversionValues& values, const ApplyValues<WqConversionValues>& apply) {
        CMidiToWqStyPropSheet sheet(CMainFrame::Get(), values, apply);
        if (sheet.ShowModal() != wxID_OK) return false;
        values = sheet.Values();
        return true;
    };
    s.QeConversionSheet = [](QeConversionValues& values, const ApplyValues<QeConversionValues>& apply) {
        CMidiToQeStyPropSheet sheet(CMainFrame::Get(), values, apply);
        if (sheet.ShowModal() != wxID_OK) return false;
        values = sheet.Values();
        return true;
    };
    s.StyToMidiMethodDialog = [](int& method) {
        StyToMidiMethodDlgModel model;
        model.method = uint32_t(method);
        CStyToMidiMethodDlg dlg(CMainFrame::Get(), model);
        if (dlg.ShowModal() != wxID_OK) return false;
        method = int(model.method);
        return true;
    };
}

} // namespace

void ConnectSubsystems(ZibSubsystems& subsystems)
{
    // Each subsystem that lands adds its services here: its document
    // template(s) to AddDocTemplates, its dialogs, converters and device
    // services to the matching members.
    connectConverters(subsystems);
    connectSettingsDialogs(subsystems);
    ConnectStyleDocuments(subsystems);
    subsystems.RunStylePlaybackConsole = [](wxWindow* parent, const CStyleMidiReader& style, const std::string& title,
                                            StylePlayer::ProgramNameFunction programName) {
        return RunStylePlaybackConsole(parent, style, title, std::move(programName));
    };
    subsystems.AddDocTemplates.push_back(AddProgramDocTemplates);
    ConnectMidiDocument(subsystems);
    ConnectInstruments(subsystems);
    // The MIDI window names ports, banks, patches, notes and controllers by
    // the instruments related to each port and channel.
    static const CInstrumentNames names(AppInstruments());
    MidiDocumentHooks& midi = MidiWindowHooks();
    midi.Names = &names;
    auto trackNames = std::make_unique<CInstrumentTrackNames>(AppInstruments());
    midi.LoadInstruments = [loader = trackNames.get()] { loader->LoadNow(); };
    SetTrackNameSource(std::move(trackNames));
    ConnectMidiSetup(subsystems);
    ConnectPlayback(subsystems);
}

} // namespace zib
