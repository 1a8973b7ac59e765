#include "docs/style/core/StyTreeMenus.h"

#include "ui/core/CommandIds.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyWindowCommandIds.h"

#include <iterator>

namespace zib {

namespace {

// Cut, Copy and Paste above the entries of a tree popup.
std::vector<MenuItemDef> withClipboardCommands(std::vector<MenuItemDef> entries)
{
    std::vector<MenuItemDef> items = {
        MenuCommand("Cu&t", cmd::EditCut),
        MenuCommand("&Copy", cmd::EditCopy),
        MenuCommand("&Paste", cmd::EditPaste),
        MenuSeparator(),
    };
    items.insert(items.end(), std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
    return items;
}

} // namespace

MenuBarDef StyEditFrameMenuDef()
{
    return {
        MenuPopup("&File", FileMenuAround({
                               MenuCommand("Collect CV MIDI Files", cmd::CollectWqCvMidi),
                               MenuCommand("Collect QE4K CV Midi files", cmd::CollectQeCvMidi),
                           })),
        MenuPopup("&Edit", {
                               MenuCommand("Cu&t\tCtrl+X", cmd::EditCut),
                               MenuCommand("&Copy\tCtrl+C", cmd::EditCopy),
                               MenuCommand("&Paste\tCtrl+V", cmd::EditPaste),
                               MenuSeparator(),
                               MenuCommand("Delete item", stycmd::DeleteItems),
                               MenuSeparator(),
                               MenuCommand("QE Style Flags", stycmd::StyleFlags),
                               MenuCommand("Wq-series Style Properties", stycmd::WqStyleProperties),
                               MenuSeparator(),
                               MenuCommand("QE Track Info", stycmd::TrackInfo),
                               MenuCommand("QE Chord Table", stycmd::ChordTable),
                               MenuCommand("QE NTT", stycmd::Ntt),
                               MenuCommand("Wq-series Chord Table", stycmd::WqChordTable),
                               MenuSeparator(),
                               MenuCommand("Wq-series CV Parameters", stycmd::WqCvParameters),
                               MenuSeparator(),
                               MenuCommand("Edit Track MIDI events", stycmd::EditTrackEvents),
                           }),
        MenuPopup("&View", {
                               MenuCheck("&Toolbar", cmd::ViewToolbar),
                               MenuCheck("&Status Bar", cmd::ViewStatusBar),
                           }),
        MenuPopup("&Utils", {
                                MenuCommand("Play CV as MIDI", stycmd::PlayCv),
                                MenuCommand("Play Track as MIDI", stycmd::PlayTrack),
                            }),
        MenuPopup("&Setup", {
                                MenuCommand("&Transpose setting", cmd::TransposeSetting),
                                MenuCommand("&Sorting method", cmd::SortingMethod),
                                MenuSeparator(),
                                MenuCommand("MidiTo wq-series Style Settings", cmd::WqConversionSettings),
                                MenuCommand("MidiTo Qe-series Sty settings", cmd::QeConversionSettings),
                                MenuCommand("StyleToMidi settings", cmd::StyToMidiSettings),
                                MenuSeparator(),
                                MenuCommand("Midi Playback settings", cmd::PlaybackSettings),
                            }),
        WindowMenuDef(),
        HelpMenuDef(),
    };
}

std::vector<MenuItemDef> StyElementPopupDef()
{
    return withClipboardCommands({
        MenuCommand("Delete ", stycmd::DeleteElement),
        MenuCommand("Add CV", stycmd::AddCv),
        MenuSeparator(),
        MenuCommand("Track Info", stycmd::TrackInfo),
        MenuCommand("Chord Table", stycmd::ChordTable),
        MenuCommand("&NTT", stycmd::Ntt),
    });
}

std::vector<MenuItemDef> StyCvPopupDef()
{
    return withClipboardCommands({
        MenuCommand("Delete", stycmd::DeleteCv),
        MenuSeparator(),
        MenuCommand("CV Parameters", stycmd::WqCvParameters),
        MenuCommand("Play CV as MIDI", stycmd::PlayCv),
    });
}

std::vector<MenuItemDef> StyTrackPopupDef()
{
    return withClipboardCommands({
        MenuCommand("Delete", stycmd::DeleteTrack),
        MenuSeparator(),
        MenuCommand("Set Key-Chord values", stycmd::SetKeyChord),
        MenuCommand("Play Track As MIDI", stycmd::PlayTrack),
        MenuCommand("Edit Track MIDI events", stycmd::EditTrackEvents),
    });
}

std::vector<MenuItemDef> StsPopupDef()
{
    return withClipboardCommands({
        MenuCommand("Properties", stycmd::Properties),
    });
}

} // namespace zib
