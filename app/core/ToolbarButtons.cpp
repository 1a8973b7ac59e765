#include "app/core/ToolbarButtons.h"

#include "app/core/CommandIds.h"

#include <string>

namespace zib {

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
    default:
        return {};
    }
}

std::vector<ToolButtonDef> MidiDocButtonSet(bool full)
{
    if (full)
        return {
            {cmd::MidiToText, "Midi To Text", "TXT"},
            {cmd::MidiDoc32840, "", ""},
            {},
            {cmd::MidiToWqStyle, "MIDI To wq-series Style", "WQ"},
            {cmd::MidiToQe4kStyle, "Midi to QE4K Style", "QE"},
            {},
            {cmd::MidiDoc32868, "", ""},
            {cmd::DeleteItems, "&Delete Item(s)", "DEL"},
            {},
            {cmd::NoteEvents, "Note Events", "N", true},
            {cmd::KeyPressureEvents, "KeyPressure Events", "KP", true},
            {cmd::ControlEvents, "Control Events", "C", true},
            {cmd::ProgChangeEvents, "ProgChange Events", "P", true},
            {cmd::ChannelAftertouchEvents, "Channel Aftertouch Events", "CA", true},
            {cmd::PitchWheelEvents, "Pitch Wheel Events", "PW", true},
            {cmd::TextEvents, "Text Events", "T", true},
        };
    return {
        {cmd::MidiToText, "Midi To Text", "TXT"},
        {},
        {cmd::MidiToWqStyle, "MIDI To wq-series Style", "WQ"},
        {cmd::MidiToQe4kStyle, "Midi to QE4K Style", "QE"},
        {},
        {cmd::MidiDoc32868, "", ""},
        {cmd::DeleteItems, "&Delete Item(s)", "DEL"},
        {},
        {cmd::TempoTrack32944, "", ""},
        {cmd::TempoTrack32943, "", ""},
        {cmd::TempoTrack32942, "", ""},
        {cmd::TempoTrack32947, "", ""},
        {cmd::TempoTrack32948, "", ""},
        {cmd::TempoTrack32946, "", ""},
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
