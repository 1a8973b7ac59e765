#include "mididoc/core/MidiDocMenu.h"

namespace zib {

MenuBarDef MidiDocMenuDef()
{
    // File: New and Open, the document's own commands, then the rest of the shared File menu.
    std::vector<MenuItemDef> file = FileMenuCommands();
    file.insert(file.begin() + 2, {
                                      MenuCommand("&Close", midicmd::FileClose),
                                      MenuCommand("&Save\tCtrl+S", midicmd::FileSave),
                                      MenuCommand("Save &As...", midicmd::FileSaveAs),
                                  });
    return {
        MenuPopup("File", std::move(file)),
        MenuPopup("Edit",
                  {
                      MenuCommand("&Undo\tCtrl+Z", midicmd::EditUndo),
                      MenuCommand("&Redo\tCtrl+Y", midicmd::EditRedo),
                      MenuSeparator(),
                      MenuCommand("Select A&ll\tCtrl+A", midicmd::EditSelectAll),
                  }),
        ViewMenuDef(),
        MenuPopup("Utils",
                  {
                      MenuCommand("&File Text Dump", midicmd::FileTextDump),
                      MenuCommand("Midi To Text", midicmd::MidiToText),
                      MenuSeparator(),
                      MenuCommand("MIDI To wq-series Style", midicmd::MidiToWqStyle),
                      MenuCommand("Midi to QE4K Style", midicmd::MidiToQe4kStyle),
                  }),
        WindowMenuDef(),
        HelpMenuDef(),
    };
}

} // namespace zib
