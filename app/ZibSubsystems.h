#pragma once

#include "app/core/SettingsCommands.h"
#include "app/core/ToolbarChoice.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include <wx/string.h>

class wxWindow;

namespace zib {

class CMainFrame;
class CZibApp;
class CZibDocManager;

// Result of a chord-variation MIDI collection.
struct CollectResult {
    int code = 0;              // 0 = collected
    std::string errorText;     // the collector's text for a nonzero code
    std::string collectedPath; // the collected MIDI file it wrote
};

// Result of converting a Yamaha PSR style.
struct PsrConvertResult {
    int code = 0;                        // 0 = converted
    std::string errorText;               // the converter's text for a nonzero code
    std::vector<uint8_t> styleResource;  // the Qe-series style resource
    std::array<uint8_t, 16> styleName{}; // the PSR file's track name, zero-padded
};

// What the shell uses of the other subsystems. Each is empty until the
// subsystem that provides it is wired in ConnectSubsystems; the commands and
// services that need an empty one are then disabled or do nothing.
struct ZibSubsystems {
    // MIDI devices, instruments and playback
    std::function<int()> LoadPortInstrumentRelations;
    std::function<void()> EnumMidiDevices;
    std::function<int()> MidiOutDeviceCount;
    std::function<int()> MidiInDeviceCount;
    std::function<void()> RunInstrumentsDialog;
    // The built-in player window for a temporary MIDI file (CPlayMidiFile); it
    // sets *playerOpen while it exists and deletes the file when it closes.
    std::function<wxWindow*(CMainFrame& frame, const wxString& path, uint8_t* playerOpen)> CreatePlayMidiFile;
    // The MIDI tempo, position and selection bars, made as children of the frame.
    std::function<wxWindow*(CMainFrame& frame, MainBar bar)> CreateMidiControlBar;

    // Dialogs of other subsystems behind the settings commands
    SettingsDialog<PlaybackValues> MidiSettingsDialog;
    SettingsDialog<MidiPortsValues> MidiPortsDialog;
    SettingsDialog<int> QeTrackToWqTrackDialog;
    SettingsDialog<int> StyToMidiMethodDialog;
    SettingsSheet<WqConversionValues> WqConversionSheet;
    SettingsSheet<QeConversionValues> QeConversionSheet;

    // Converters of the heavy commands. The collectors write their log lines
    // to `logPath`; the PSR converter writes its dump log to `dumpLogPath`.
    std::function<CollectResult(const std::string& chosenPath, const std::string& logPath)> CollectWqCvMidi;
    std::function<CollectResult(const std::string& chosenPath, const std::string& logPath)> CollectQeCvMidi;
    std::function<PsrConvertResult(const std::vector<uint8_t>& image, const std::string& fileName,
                                   const std::string& dumpLogPath)>
        ConvertPsrStyle;

    // Each document subsystem adds its document template here.
    std::vector<std::function<void(CZibDocManager& manager)>> AddDocTemplates;

    // Sample runs of a subsystem's windows for the test driver's "run-dialog
    // NAME": each answers true when it knows the name, and writes what the
    // window left behind through `log`.
    using TestDialog = std::function<bool(const std::string& name, wxWindow* parent,
                                          const std::function<void(const std::string&)>& log)>;
    std::vector<TestDialog> TestDialogs;
};

// Wires the subsystems that exist into the shell (called once at start-up,
// before the settings are loaded).
void ConnectSubsystems(ZibSubsystems& subsystems);

} // namespace zib
