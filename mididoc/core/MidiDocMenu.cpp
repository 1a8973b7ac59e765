#include "mididoc/core/MidiDocMenu.h"

namespace zib {

namespace {

using namespace midicmd;

std::vector<MenuItemDef> fileMenu()
{
    // New and Open, the document's own commands, then the rest of the shared File menu.
    std::vector<MenuItemDef> file = FileMenuCommands();
    file.insert(file.begin() + 2, {
                                      MenuCommand("&Close", FileClose),
                                      MenuCommand("&Save\tCtrl+S", FileSave),
                                      MenuCommand("Save &As...", FileSaveAs),
                                  });
    return file;
}

// The event classes the lists show; the style and pad editors' menu has no Text Events.
std::vector<MenuItemDef> filterItems(bool withText)
{
    std::vector<MenuItemDef> items = {
        MenuCheck("Note Events", NoteEvents),
        MenuCheck("KeyPressure Events", KeyPressureEvents),
        MenuCheck("Control Events", ControlEvents),
        MenuCheck("ProgChange Events", ProgChangeEvents),
        MenuCheck("Channel Aftertouch Events", ChannelAftertouchEvents),
        MenuCheck("Pitch Wheel Events", PitchWheelEvents),
    };
    if (withText) items.push_back(MenuCheck("Text Events", TextEvents));
    return items;
}

// Undo, Redo, Copy, Paste and Delete, then the window's own items.
std::vector<MenuItemDef> editMenu(std::vector<MenuItemDef> more)
{
    std::vector<MenuItemDef> items = {
        MenuCommand("&Undo\tCtrl+Z", EditUndo),
        MenuCommand("&Redo\tCtrl+Y", EditRedo),
        MenuSeparator(),
        MenuCommand("&Copy\tCtrl+C", EditCopy),
        MenuCommand("&Paste\tCtrl+V", EditPaste),
        MenuCommand("&Delete\t   Del", Delete),
    };
    items.insert(items.end(), more.begin(), more.end());
    return items;
}

MenuItemDef viewMenu(bool masterTrack)
{
    MenuItemDef view = ViewMenuDef();
    if (!masterTrack) return view;
    view.children.insert(view.children.end(), {
                                                  MenuSeparator(),
                                                  MenuCommand("&Master (Tempo) Track", MasterTrack),
                                                  MenuCommand("Time Signature Events", TimeSigEvents),
                                                  MenuCommand("Marker Events", MarkerEvents),
                                                  MenuCommand("Tempo Events", TempoEvents),
                                                  MenuCommand("Lyrics Events", LyricsEvents),
                                                  MenuCommand("Sysex events", SysexEvents),
                                              });
    return view;
}

} // namespace

MenuBarDef MidiDocMenuDef()
{
    return {
        MenuPopup("&File", fileMenu()),
        MenuPopup("&Edit", editMenu({
                      MenuCommand("Select A&ll\tCtrl+A", EditSelectAll),
                      MenuSeparator(),
                      MenuCommand("&Insert Item", InsertItemMenu),
                      MenuCommand("Edit Item", EditItem),
                      MenuCommand("Delete From-Thru", DeleteFromThru),
                      MenuCommand("Pr&operties\tAlt+Enter", Properties),
                      MenuCommand("Re&name Track", RenameTrack),
                      MenuSeparator(),
                      MenuCommand("Transpose Events", TransposeEvents),
                      MenuCommand("Shift Events", ShiftEvents),
                  })),
        viewMenu(true),
        MenuPopup("F&ilter", filterItems(true)),
        MenuPopup("&Playback",
                  {
                      MenuCheck("&Play", Play),
                      MenuCommand("Stop", Stop),
                      MenuCheck("&Record", Record),
                      MenuSeparator(),
                      MenuCommand("&Start/Stop MIDI Playback", StartStopPlayback),
                      MenuCommand("Rewind", Rewind),
                      MenuCommand("Go To End", GoToEnd),
                      MenuSeparator(),
                      MenuCheck("Set Loop On/Off", SetLoop),
                      MenuCommand("Set Tempo", SetTempo),
                  }),
        MenuPopup("W&alk",
                  {
                      MenuCommand("&First measure", FirstMeasure),
                      MenuCommand("&Last measure", LastMeasure),
                      MenuCommand("&Next measure", NextMeasureMenu),
                      MenuCommand("&Previous measure", PreviousMeasureMenu),
                      MenuSeparator(),
                      MenuCommand("&Go to M:B:T", GoToMbt),
                      MenuCommand("Go To F&rom", GoToFrom),
                      MenuCommand("Go to &Thru", GoToThru),
                      MenuSeparator(),
                      MenuCommand("Set From", SetFrom),
                      MenuCommand("Set Thru", SetThru),
                      MenuCommand("S&et From/Thru", SetFromThru),
                  }),
        MenuPopup("&Utils",
                  {
                      MenuCommand("&File Text Dump", FileTextDump),
                      MenuCommand("Midi To Text", MidiToText),
                      MenuSeparator(),
                      MenuCommand("&Transpose MIDI file", TransposeMidiFile),
                      MenuCommand("Midi Clock (Timebase)", MidiClock),
                      MenuSeparator(),
                      MenuCommand("MIDI To wq-series Style", MidiToWqStyle),
                      MenuCommand("Midi to QE4K Style", MidiToQe4kStyle),
                  }),
        MenuPopup("&Setup",
                  {
                      MenuCommand("Track Record Input", TrackRecordInput),
                      MenuCommand("Midi Record settings", MidiRecordSettings),
                      MenuCommand("Metronom settings", MetronomSettings),
                      MenuSeparator(),
                      MenuCommand("&Instruments", Instruments),
                      MenuCommand("Midi Ports settings", MidiPortsSettings),
                  }),
        WindowMenuDef(),
        HelpMenuDef(),
    };
}

MenuBarDef TrackEditorMenuDef()
{
    return {
        MenuPopup("&File", FileMenuCommands()),
        MenuPopup("&Edit", editMenu({
                      MenuSeparator(),
                      MenuCommand("Insert item", InsertItem),
                      MenuCommand("Dump To Text", DumpToText),
                  })),
        viewMenu(false),
        MenuPopup("F&ilter", filterItems(false)),
        MenuPopup("&Setup",
                  {
                      MenuCommand("&Instruments", Instruments),
                      MenuCommand("Midi Ports settings", MidiPortsSettings),
                  }),
        WindowMenuDef(),
        HelpMenuDef(),
    };
}

std::vector<MenuItemDef> EditEventPopupDef()
{
    return {
        MenuCommand("Cu&t\tCtrl+X", EditCut),
        MenuCommand("&Copy\tCtrl+C", EditCopy),
        MenuCommand("&Paste\tCtrl+V", EditPaste),
        MenuSeparator(),
        MenuCommand("&Delete\t   Del", Delete),
    };
}

std::vector<MenuItemDef> TrackListPopupDef()
{
    return {
        MenuCommand("Delete From-Thru\tDel", DeleteFromThru),
        MenuSeparator(),
        MenuCommand("&Delete Track(s)", Delete),
        MenuCommand("&Insert Track", InsertItemMenu),
        MenuSeparator(),
        MenuCommand("&Mute/Play track", MutePlayTrack),
        MenuCommand("&Solo", SoloTrack),
        MenuCommand("&Un-Solo", UnSoloTrack),
        MenuSeparator(),
        MenuCommand("&Play MIDI file", PlayMidiFile),
        MenuCommand("Edit Track(s)", EditItem),
        MenuSeparator(),
        MenuCommand("Transpose Events", TransposeEvents),
        MenuCommand("Shift Events", ShiftEvents),
    };
}

std::vector<MenuItemDef> KeyAlphabetPopupDef()
{
    return {
        MenuCheck("English", KeyAlphabetFirst),
        MenuCheck("Indian Modern", KeyAlphabetFirst + 1),
        MenuCheck("Solfedgio", KeyAlphabetFirst + 2),
        MenuCheck("Indian Swar", KeyAlphabetFirst + 3),
        MenuCheck("Swar sounds", KeyAlphabetFirst + 4),
        MenuCheck("Solfedgio Alt", KeyAlphabetFirst + 5),
    };
}

} // namespace zib
