#include "docs/style/core/StyMenus.h"

#include "ui/core/CommandIds.h"
#include "docs/style/core/StyCommandIds.h"
#include "docs/style/core/StyWindowCommandIds.h"

#include <array>
#include <span>

namespace zib {

namespace {

constexpr std::array<std::string_view, 20> kBankNames{
    " 1: BEAT1",   " 2: BEAT2",       " 3: BALLAD",       " 4: BALLROOM", " 5: DANCE",
    " 6: ROCK",    " 7: SOUL FUNK",   " 8: WORLD1",       " 9: WORLD2",   "10: WORLD3",
    "11: LATIN1",  "12: LATIN2",      "13: LATIN DANCE",  "14: JAZZ1",    "15: JAZZ2",
    "16: TRADITIONAL", "17: RESERVED !!!", "18: USER1",   "19: USER2",    "20: USER3"};

constexpr std::array<std::string_view, 30> kPadBankNames{
    "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10", "11",    "12",    "13",    "14",    "15",
    "16", "17", "18", "19", "20", "USER1", "USER2", "USER3", "USER4", "USER5", "USER6", "USER7", "USER8",
    "USER9", "USER10"};

constexpr std::array<std::string_view, 10> kElementNames{"VAR1", "VAR2", "VAR3",  "VAR4", "INT1",
                                                         "INT2", "FILL1", "FILL2", "END1", "END2"};

std::vector<MenuItemDef> fileMenu()
{
    std::vector<MenuItemDef> items = FileMenuCommands();
    // The document's own file commands follow New and Open.
    items.insert(items.begin() + 2, {MenuCommand("&Close", stycmd::FileClose),
                                     MenuCommand("&Save\tCtrl+S", stycmd::FileSave),
                                     MenuCommand("Save &As...", stycmd::FileSaveAs)});
    return items;
}

// The Edit menu of both documents, up to Properties.
std::vector<MenuItemDef> editCommon()
{
    return {
        MenuCommand("Cu&t\tCtrl+X", stycmd::EditCut),
        MenuCommand("&Copy\tCtrl+C", stycmd::EditCopy),
        MenuCommand("&Paste\tCtrl+V", stycmd::EditPaste),
        MenuSeparator(),
        MenuCommand("&Delete\t   Del", stycmd::DeleteItems),
        MenuCommand("E&mpty Item", stycmd::EmptyItem),
        MenuSeparator(),
        MenuCommand("&Extract Item", stycmd::ExtractItem),
        MenuCommand("&Import Item(s)", stycmd::ImportItems),
        MenuCommand("E&xtract All Items", stycmd::ExtractAll),
        MenuSeparator(),
        MenuCommand("Select A&ll\tCtrl+A", stycmd::SelectAll),
        MenuCommand("&Rename Item", stycmd::RenameItem),
        MenuCommand("Move item UP", stycmd::MoveItemUp),
        MenuCommand("Move item DOWN", stycmd::MoveItemDown),
    };
}

// The context menu of both lists, up to the commands of one kind.
std::vector<MenuItemDef> popupCommon()
{
    return {
        MenuCommand("Cu&t", stycmd::EditCut),
        MenuCommand("&Copy", stycmd::EditCopy),
        MenuCommand("&Paste", stycmd::EditPaste),
        MenuSeparator(),
        MenuCommand("&Extract Item", stycmd::ExtractItem),
        MenuCommand("&Import Item(s)", stycmd::ImportItems),
        MenuSeparator(),
        MenuCommand("&Delete Item(s)", stycmd::DeleteItems),
        MenuCommand("E&mpty Item", stycmd::EmptyItem),
        MenuCommand("&Rename Item", stycmd::RenameItem),
        MenuSeparator(),
    };
}

// One check entry per name, the ids counting up from `firstId`.
std::vector<MenuItemDef> checkMenu(std::span<const std::string_view> names, int firstId)
{
    std::vector<MenuItemDef> items;
    for (size_t i = 0; i < names.size(); ++i)
        items.push_back(MenuCheck(names[i], firstId + int(i)));
    return items;
}

// The Setup menu of the document menus.
MenuItemDef setupMenu()
{
    return MenuPopup("&Setup", {
                                  MenuCommand("MidiTo wq-series Style Settings", cmd::WqConversionSettings),
                                  MenuCommand("MidiTo Qe-series Sty settings", cmd::QeConversionSettings),
                                  MenuCommand("StyleToMidi settings", cmd::StyToMidiSettings),
                                  MenuCommand("Qe-style to Wq-style settings", cmd::QeTrackToWqTrackSettings),
                                  MenuSeparator(),
                                  MenuCommand("Style Playback settings", cmd::PlaybackSettings),
                                  MenuCommand("&Transpose setting", cmd::TransposeSetting),
                              });
}

} // namespace

MenuBarDef StyDocMenuDef()
{
    std::vector<MenuItemDef> edit = editCommon();
    edit.push_back(MenuSeparator());
    edit.push_back(MenuCommand("STS View", stycmd::StsView));
    edit.push_back(MenuCommand("Pr&operties", stycmd::Properties));
    return {MenuPopup("&File", fileMenu()),
            MenuPopup("&Edit", edit),
            ViewMenuDef(),
            MenuPopup("&Utils", {
                                   MenuCommand("Style To MIDI", stycmd::StyleToMidi),
                                   MenuCommand("Playback style item", stycmd::StartStopPlayback),
                                   MenuSeparator(),
                                   MenuCommand("Style To Text", stycmd::StyleToText),
                                   MenuCommand("&Text Dump", stycmd::TextDump),
                                   MenuCommand("Item list report", stycmd::ItemsReport),
                                   MenuSeparator(),
                                   MenuCommand("&Clean style events", stycmd::CleanStyleEvents),
                                   MenuCommand("Convert Qe-style to Wq-style", stycmd::ConvertQeToWq),
                               }),
            setupMenu(),
            WindowMenuDef(),
            HelpMenuDef()};
}

MenuBarDef PadDocMenuDef()
{
    std::vector<MenuItemDef> edit = editCommon();
    edit.push_back(MenuSeparator());
    edit.push_back(MenuCommand("Pr&operties", stycmd::Properties));
    return {MenuPopup("&File", fileMenu()), MenuPopup("&Edit", edit),
            MenuPopup("&Utils", {MenuCommand("Pad To MIDI", stycmd::PadToMidi),
                                MenuCommand("Playback Pad item", stycmd::PlaybackPadItem)}),
            ViewMenuDef(), setupMenu(), WindowMenuDef(), HelpMenuDef()};
}

std::vector<MenuItemDef> StyPopupMenuDef()
{
    std::vector<MenuItemDef> items = popupCommon();
    items.insert(items.end(), {
                                  MenuCommand("Convert style To &Text", stycmd::StyleToText),
                                  MenuCommand("Convert style to MIDI", stycmd::StyleToMidi),
                                  MenuCommand("Convert Qe-style to Wq-style", stycmd::ConvertQeToWq),
                                  MenuSeparator(),
                                  MenuCommand("Properties", stycmd::Properties),
                              });
    return items;
}

std::vector<MenuItemDef> PadPopupMenuDef()
{
    std::vector<MenuItemDef> items = popupCommon();
    items.push_back(MenuCommand("Properties", stycmd::Properties));
    return items;
}

std::vector<MenuItemDef> StyElementMenuDef()
{
    return checkMenu(kElementNames, stycmd::ElementFirst);
}

std::vector<MenuItemDef> StyBankMenuDef()
{
    return checkMenu(kBankNames, stycmd::BankFirst);
}

std::vector<MenuItemDef> PadBankMenuDef()
{
    return checkMenu(kPadBankNames, stycmd::PadBankFirst);
}

int StyBankOfCommand(int id)
{
    const int bank = id - stycmd::BankFirst;
    return bank >= 0 && bank <= 19 ? bank : 17;
}

int PadBankOfCommand(int id)
{
    const int bank = id - stycmd::PadBankFirst;
    return bank >= 0 && bank <= 29 ? bank : 20;
}

int StyElementOfCommand(int id)
{
    const int element = id - stycmd::ElementFirst;
    return element >= 0 && element <= 10 ? element : 0;
}

} // namespace zib
