#include "ui/core/ToolbarButtons.h"

#include "ui/core/CommandIds.h"

#include <string>

namespace zib {

namespace {

// The event classes an event editor hides: each button is pressed while its class is hidden.
std::vector<ToolButtonDef> filterButtons()
{
    return {
        {cmd::NoteEvents, "Note Events", "N", "note-events", true},
        {cmd::KeyPressureEvents, "KeyPressure Events", "KP", "key-pressure-events", true},
        {cmd::ControlEvents, "Control Events", "C", "control-events", true},
        {cmd::ProgChangeEvents, "ProgChange Events", "P", "program-change-events", true},
        {cmd::ChannelAftertouchEvents, "Channel Aftertouch Events", "CA", "channel-aftertouch-events", true},
        {cmd::PitchWheelEvents, "Pitch Wheel Events", "PW", "pitch-wheel-events", true},
        {cmd::TextEvents, "Text Events", "T", "text-events", true},
    };
}

} // namespace

std::vector<ToolButtonDef> ToolbarButtons(MainBar bar)
{
    switch (bar) {
    case MainBar::Standard:
        return {
            {cmd::FileNew, "&New\tCtrl+N", "NEW", "new"},
            {cmd::FileOpen, "&Open...\tCtrl+O", "OPEN", "open"},
            {},
            {cmd::ConvertYamahaStyToQeSty, "Convert Yamaha style to DASK QE styles", "PSR", "convert-psr"},
            {},
            {cmd::AppAbout, "About Zib...", "?", "help"},
        };
    case MainBar::MidiDoc:
        return MidiDocButtonSet(true);
    case MainBar::StyDoc:
        return {
            {cmd::ExtractItem, "&Extract Item", "EX", "extract-item"},
            {cmd::ImportItems, "&Import Item(s)", "IM", "import-items"},
            {cmd::DeleteItems, "&Delete Item(s)", "DEL", "delete"},
            {},
            {cmd::StyDumpToText, "Dump To Text", "TXT", "midi-to-text"},
            {cmd::StyleToMidi, "Style To MIDI", "MID", "style-to-midi"},
            {},
            {cmd::StartStopPlayback, "&Start/Stop MIDI Playback", "PLAY", "play"},
        };
    case MainBar::MoveItem:
        return {
            {cmd::MoveItemDown, "Move item DOWN", "DN", "move-item-down"},
            {cmd::MoveItemUp, "Move item UP", "UP", "move-item-up"},
        };
    case MainBar::StyleTree:
        // The tree's levels; the edit frame keeps exactly one pressed.
        return {
            {cmd::LevelRoot, "Root level", "R", "level-root", true},
            {cmd::LevelRoot + 1, "SE Level", "SE", "level-element", true},
            {cmd::LevelRoot + 2, "CV Level", "CV", "level-cv", true},
            {cmd::LevelTrack, "Track level", "TR", "level-track", true},
        };
    case MainBar::MidiPlay:
        // Pressed while MIDI plays or records; the playback engine presses and releases them.
        return {
            {cmd::MidiPlay, "&Play", "PLAY", "play", true},
            {cmd::MidiRecord, "&Record", "REC", "record", true},
        };
    case MainBar::MidiEdit:
        return filterButtons();
    case MainBar::MidiPosition:
        return {
            {cmd::PreviousMeasure, "Previous Measure", "<|", "rewind"},
            {cmd::GoToFromButton, "Go To From", "|<", "go-to-from"},
            {},
            {cmd::PositionField, "Curr position (Measure:Beat:Tick)", "", "", false, 96},
            {},
            {cmd::GoToThruButton, "Go To Thru", ">|", "go-to-thru"},
            {cmd::NextMeasure, "Next Measure", "|>", "forward"},
        };
    case MainBar::MidiSelection:
        return {
            {cmd::SetFrom, "Set From", "F", "set-from"},
            {},
            {cmd::FromField, "From (M:B:T)", "", "", false, 96},
            {},
            {cmd::ThruField, "Thru (M:B:T)", "", "", false, 96},
            {},
            {cmd::SetThru, "Set Thru", "T", "set-thru"},
            {cmd::SetLoop, "Loop On/Off", "LOOP", "loop", true},
        };
    case MainBar::MidiTempo:
        return {
            {cmd::SetTempo, "Set Tempo", "BPM", "set-tempo"},
            {},
            {cmd::TempoField, "Set Tempo", "", "", false, 48},
        };
    default:
        return {};
    }
}

std::vector<ToolButtonDef> MidiDocButtonSet(bool full)
{
    if (full) {
        std::vector<ToolButtonDef> buttons = {
            {cmd::MidiToText, "Midi To Text", "TXT", "midi-to-text"},
            {cmd::MidiDoc32840, "Edit Item", "EDIT", "edit-item"},
            {},
            {cmd::MidiToWqStyle, "MIDI To wq-series Style", "WQ", "midi-to-wq-style"},
            {cmd::MidiToQe4kStyle, "Midi to QE4K Style", "QE", "midi-to-qe-style"},
            {},
            {cmd::MidiDoc32868, "Insert item", "INS", "insert-item"},
            {cmd::DeleteItems, "&Delete Item(s)", "DEL", "delete"},
            {},
        };
        for (const ToolButtonDef& b : filterButtons()) buttons.push_back(b);
        return buttons;
    }
    return {
        {cmd::MidiToText, "Midi To Text", "TXT", "midi-to-text"},
        {},
        {cmd::MidiToWqStyle, "MIDI To wq-series Style", "WQ", "midi-to-wq-style"},
        {cmd::MidiToQe4kStyle, "Midi to QE4K Style", "QE", "midi-to-qe-style"},
        {},
        {cmd::MidiDoc32868, "Insert item", "INS", "insert-item"},
        {cmd::DeleteItems, "&Delete Item(s)", "DEL", "delete"},
        {},
        {cmd::TempoTrack32944, "View Marker Events", "MRK", "marker-events"},
        {cmd::TempoTrack32943, "View Time Signature Events", "SIG", "time-signature-events"},
        {cmd::TempoTrack32942, "View Tempo Events", "TMP", "tempo-events"},
        {cmd::TempoTrack32947, "View Lyrics Events", "LYR", "lyrics-events"},
        {cmd::TempoTrack32948, "View Sysex Events", "SYX", "sysex-events"},
        {cmd::TempoTrack32946, "View All Events", "ALL", "all-events"},
    };
}

std::string ToolTipText(std::string_view label)
{
    label = label.substr(0, label.find('\t'));
    std::string out;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&') {
            if (i + 1 < label.size() && label[i + 1] == '&') out += '&', ++i;
            continue;
        }
        out += label[i];
    }
    return out;
}

} // namespace zib
