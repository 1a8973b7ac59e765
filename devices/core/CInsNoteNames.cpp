#include "devices/core/CInsNoteNames.h"

namespace zib {

namespace {

// Notes 35 to 81 of the General MIDI percussion map.
constexpr int kFirstDrumNote = 35;
constexpr const char* kGeneralMidiDrums[] = {
    "Acoustic Bass Drum", "Bass Drum 1", "Side Stick", "Acoustic Snare", "Hand Clap",
    "Electric Snare", "Low Floor Tom", "Close Hi-Hat", "High Floor Tom", "Pedal Hi-Hat",
    "Low Tom", "Open Hi-Hat", "Low-Mid Tom", "Hi-Mid Tom", "Crash Cymbal 1",
    "High Tom", "Ride Cymbal 1", "Chinese Cymbal", "Ride Bell", "Tambourine",
    "Splash Cymbal", "Cowbell", "Crash Cymbal 2", "Vibraslap", "Ride Cymbal 2",
    "Hi Bongo", "Low Bongo", "Mute Hi Conga", "Open Hi Conga", "Low Conga",
    "High Timbale", "Low Timbale", "High Agogo", "Low Agogo", "Cabasa",
    "Maracas", "Short Whistle", "Long Whistle", "Short Guiro", "Long Guiro",
    "Claves", "Hi Wood Block", "Low Wood Block", "Mute Cuica", "Open Cuica",
    "Mute Triangle", "Open Triangle",
};

} // namespace

CInsNoteNames CInsNoteNames::GeneralMidiDrums()
{
    CInsNoteNames list;
    list.name = "General MIDI Drums";
    size_t note = kFirstDrumNote;
    for (const char* drum : kGeneralMidiDrums)
        list.names[note++] = drum;
    return list;
}

} // namespace zib
