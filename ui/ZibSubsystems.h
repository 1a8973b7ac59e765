#pragma once

#include "ui/MdiFrameTypes.h"
#include "ui/core/SettingsCommands.h"
#include "ui/core/ToolbarChoice.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include <wx/string.h>

class wxDocument;
class wxWindow;

namespace zib {

class CMidiParserEx;
class CStyleMidiReader;
class TrackEditorOwner;
class CZibDocManager;
struct MidiDocHooks;

// A track event-list window of a style or pad edit frame (made by the MIDI
// window area) as the edit frame's tree drives it.
class TrackEditWindow {
public:
    virtual ~TrackEditWindow() = default;
    virtual wxWindow* Window() = 0;
    // Binds a new window to its track (fills its event list).
    virtual void ShowTrack() = 0;
    // Shows another track of the same sequence (the 1-based track number
    // of the sequence), refilling the list, under a new title.
    virtual void Retarget(int track, const wxString& title) = 0;
};

// What such a window works on and calls back.
struct TrackEditRequest {
    wxString title;
    uint8_t* openFlag = nullptr; // the document's flag, set while the window lives
    wxDocument* document = nullptr;
    wxWindow* editFrame = nullptr;
    CMidiParserEx* sequence = nullptr;
    int channel = 0;     // zero-based channel of a Qe track; the track itself for a Wq track
    uint32_t model = 0;  // the document's model letter
    bool pad = false;    // a pad-track window
    TrackEditorOwner* owner = nullptr; // the document's undo manager, sequence, model and playing flag
    std::function<void()> setModified;
    std::function<void()> abortAndClear;
    // The tree's image of the edited node (element, CV, track, non-empty).
    std::function<void(uint8_t, uint8_t, uint8_t, bool)> setItemIcon;
    // The user closed the window (*openFlag still set): the edited sequence
    // goes back into the document. A window the document closes (it clears
    // the flag first) leaves that to the document's caller.
    std::function<void()> closed;
};

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
// subsystem that provides it is wired by the shell; the commands and
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
    std::function<wxWindow*(ZibMdiParentFrame& frame, const wxString& path, uint8_t* playerOpen)> CreatePlayMidiFile;
    // The MIDI tempo, position and selection bars, made as children of the frame.
    std::function<wxWindow*(ZibMdiParentFrame& frame, MainBar bar)> CreateMidiControlBar;

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

    // The style and pad edit frames (subsystem 5), made for the main frame's
    // OpenStyPropFrame and OpenPadPropFrame.
    std::function<wxWindow*(ZibMdiParentFrame& frame, const wxString& title, uint8_t* frameOpen, wxDocument* document,
                            int row)>
        OpenStyPropFrame, OpenPadPropFrame;
    // The style-track and pad-track event-list windows (subsystem 9); null
    // when the window cannot be made.
    std::function<TrackEditWindow*(const TrackEditRequest& request)> OpenStyTrackEditFrame, OpenPadTrackEditFrame;
    // The clipboard, dialogs, message boxes and names that those windows'
    // lists use, given to the track editor owner of a style or pad.
    std::function<void(MidiDocHooks& hooks)> FillTrackEditorHooks;
    // The style playback console (subsystem 8), modal over a filled reader;
    // `programName` names a track's program of an element.
    std::function<int(wxWindow* parent, const CStyleMidiReader& style, const std::string& title,
                      std::function<std::string(const CStyleMidiReader&, int element, int track)> programName)>
        RunStylePlaybackConsole;

    // Each document subsystem adds its document template here.
    std::vector<std::function<void(CZibDocManager& manager)>> AddDocTemplates;
};

} // namespace zib
