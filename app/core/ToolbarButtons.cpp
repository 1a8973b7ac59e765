#include "app/core/ToolbarButtons.h"

#include "app/core/CommandIds.h"

#include <string>

namespace zib {

namespace {

// The event classes an event editor hides: each button is pressed while its class is hidden.
std::vector<ToolButtonDef> filterButtons()
{
    return {
        {cmd::NoteEvents, "Note Events", "N", true},
        {cmd::KeyPressureEvents, "KeyPressure Events", "KP", true},
        {cmd::ControlEvents, "Control Events", "C", true},
        {cmd::ProgChangeEvents, "ProgChange Events", "P", true},
        {cmd::ChannelAftertouchEvents, "Channel Aftertouch Events", "CA", true},
        {cmd::PitchWheelEvents, "Pitch Wheel Events", "PW", true},
        {cmd::TextEvents, "Text Events", "T", true},
    };
}

} // namespace

std::vector<ToolButtonDef> ToolbarButtons(MainBar bar)
{
    switch (bar) {
    case MainBar::Standard:
        return {
            {cmd::FileNew, "&New\tCtrl+N", "art:new"},
            {cmd::FileOpen, "&Open...\tCtrl+O", "art:open"},
            {},
            {cmd::ConvertYamahaStyToQeSty, "Convert Yamaha style to DASK QE styles", "PSR"},
            {},
            {cmd::AppAbout, "About Zib...", "art:help"},
        };
    case MainBar::MidiDoc:
        return MidiDocButtonSet(true);
    case MainBar::StyDoc:
        return {
            {cmd::ExtractItem, "&Extract Item", "EX"},
            {cmd::ImportItems, "&Import Item(s)", "IM"},
            {cmd::DeleteItems, "&Delete Item(s)", "DEL"},
            {},
            {cmd::StyDumpToText, "Dump To Text", "TXT"},
            {cmd::StyleToMidi, "Style To MIDI", "MID"},
            {},
            {cmd::StartStopPlayback, "&Start/Stop MIDI Playback", "PLAY"},
        };
    case MainBar::MoveItem:
        return {
            {cmd::MoveItemDown, "Move item DOWN", "DN"},
            {cmd::MoveItemUp, "Move item UP", "UP"},
        };
    case MainBar::StyleTree:
        // The tree's levels; the edit frame keeps exactly one pressed.
        return {
            {cmd::LevelRoot, "Root level", "R", true},
            {cmd::LevelRoot + 1, "SE Level", "SE", true},
            {cmd::LevelRoot + 2, "CV Level", "CV", true},
            {cmd::LevelTrack, "Track level", "TR", true},
        };
    case MainBar::MidiPlay:
        // Pressed while MIDI plays or records; the playback engine presses and releases them.
        return {
            {cmd::MidiPlay, "&Play", "PLAY", true},
            {cmd::MidiRecord, "&Record", "REC", true},
        };
    case MainBar::MidiEdit:
        return filterButtons();
    case MainBar::MidiPosition:
        return {
            {cmd::PreviousMeasure, "Previous Measure", "<|"},
            {cmd::GoToFromButton, "Go To From", "|<"},
            {},
            {cmd::PositionField, "Curr position (Measure:Beat:Tick)", "", false, 96},
            {},
            {cmd::GoToThruButton, "Go To Thru", ">|"},
            {cmd::NextMeasure, "Next Measure", "|>"},
        };
    case MainBar::MidiSelection:
        return {
            {cmd::SetFrom, "Set From", "F"},
            {},
            {cmd::FromField, "From (M:B:T)", "", false, 96},
            {},
            {cmd::ThruField, "Thru (M:B:T)", "", false, 96},
            {},
            {cmd::SetThru, "Set Thru", "T"},
            {cmd::SetLoop, "Loop On/Off", "LOOP", true},
        };
    case MainBar::MidiTempo:
        return {
            {cmd::SetTempo, "Set Tempo", "BPM"},
            {},
            {cmd::TempoField, "Set Tempo", "", false, 48},
        };
    default:
        return {};
    }
}

std::vector<ToolButtonDef> MidiDocButtonSet(bool full)
{
    if (full) {
        std::vector<ToolButtonDef> buttons = {
            {cmd::MidiToText, "Midi To Text", "TXT"},
            {cmd::MidiDoc32840, "Edit Item", "EDIT"},
            {},
            {cmd::MidiToWqStyle, "MIDI To wq-series Style", "WQ"},
            {cmd::MidiToQe4kStyle, "Midi to QE4K Style", "QE"},
            {},
            {cmd::MidiDoc32868, "Insert item", "INS"},
            {cmd::DeleteItems, "&Delete Item(s)", "DEL"},
            {},
        };
        for (const ToolButtonDef& b : filterButtons()) buttons.push_back(b);
        return buttons;
    }
    return {
        {cmd::MidiToText, "Midi To Text", "TXT"},
        {},
        {cmd::MidiToWqStyle, "MIDI To wq-series Style", "WQ"},
        {cmd::MidiToQe4kStyle, "Midi to QE4K Style", "QE"},
        {},
        {cmd::MidiDoc32868, "Insert item", "INS"},
        {cmd::DeleteItems, "&Delete Item(s)", "DEL"},
        {},
        {cmd::TempoTrack32944, "View Marker Events", "MRK"},
        {cmd::TempoTrack32943, "View Time Signature Events", "SIG"},
        {cmd::TempoTrack32942, "View Tempo Events", "TMP"},
        {cmd::TempoTrack32947, "View Lyrics Events", "LYR"},
        {cmd::TempoTrack32948, "View Sysex Events", "SYX"},
        {cmd::TempoTrack32946, "View All Events", "ALL"},
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
