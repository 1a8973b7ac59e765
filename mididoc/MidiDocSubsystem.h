#pragma once

#include <functional>
#include <memory>
#include <vector>
#include <wx/gdicmn.h>

class wxWindow;

namespace zib {

class CTrackNameSource;
class MidiPositionTarget;
class CZibDocManager;
class InstrumentNames;
class CZibMidWxDoc;
struct ZibSubsystems;

// Wires the MIDI document into the shell: its document template (File New
// and File Open of .mid files) and the three MIDI bars.
void ConnectMidiDocument(ZibSubsystems& subsystems);
void AddMidiDocTemplate(CZibDocManager& manager);

// What the MIDI window asks of the areas that build on it. Each is empty
// until its area sets it; the window then does nothing for that request.
struct MidiDocumentHooks {
    // A click on a track's number: the event editor of the selected rows
    std::function<void(CZibMidWxDoc& doc, const std::vector<int>& rows)> OpenEventEditor;
    // A click on another cell: the Track Properties dialog of the row, with
    // the focus on the control of the clicked column
    std::function<void(CZibMidWxDoc& doc, int row, int column)> EditTrackProperties;
    // Opening a document: the instrument definitions are loaded (once per run)
    std::function<void()> LoadInstruments;
    // The names of notes and controllers by port and channel (the plain
    // default while null); it lives as long as the program
    const InstrumentNames* Names = nullptr;
    // The position, markers and tempo of the active MIDI window, which the
    // fields of the MIDI bars show and set (null: no MIDI window is active)
    std::function<MidiPositionTarget*()> ActiveMidiTarget;
};
MidiDocumentHooks& MidiWindowHooks();

// The names the track list shows for ports, banks and patches (the
// instrument definitions replace the plain default).
const CTrackNameSource& TrackNameSource();
void SetTrackNameSource(std::unique_ptr<CTrackNameSource> source);

} // namespace zib
