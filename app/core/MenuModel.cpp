#include "app/core/MenuModel.h"

#include "app/core/CommandIds.h"

#include <iterator>

namespace zib {

MenuItemDef MenuCommand(std::string_view label, int id)
{
    return {MenuItemDef::Kind::Command, label, id, {}};
}

MenuItemDef MenuCheck(std::string_view label, int id)
{
    return {MenuItemDef::Kind::Check, label, id, {}};
}

MenuItemDef MenuSeparator()
{
    return {MenuItemDef::Kind::Separator, {}, 0, {}};
}

MenuItemDef MenuPopup(std::string_view label, std::vector<MenuItemDef> children)
{
    return {MenuItemDef::Kind::Popup, label, 0, std::move(children)};
}

std::vector<MenuItemDef> FileMenuAround(std::vector<MenuItemDef> tools)
{
    std::vector<MenuItemDef> items = {
        MenuCommand("&New\tCtrl+N", cmd::FileNew),
        MenuCommand("&Open...\tCtrl+O", cmd::FileOpen),
        MenuSeparator(),
    };
    items.insert(items.end(), std::make_move_iterator(tools.begin()), std::make_move_iterator(tools.end()));
    items.insert(items.end(), {
                                  MenuSeparator(),
                                  MenuCommand("P&rint Setup...", cmd::FilePrintSetup),
                                  MenuSeparator(),
                                  {MenuItemDef::Kind::RecentFiles, {}, cmd::FileMruFirst, {}},
                                  MenuSeparator(),
                                  MenuCommand("E&xit", cmd::AppExit),
                              });
    return items;
}

std::vector<MenuItemDef> FileMenuCommands()
{
    return FileMenuAround({
        MenuCommand("Collect Wq-series CV MIDI Files", cmd::CollectWqCvMidi),
        MenuCommand("Collect QE-series CV Midi files", cmd::CollectQeCvMidi),
        MenuCommand("Convert Yamaha style to DASK QE styles", cmd::ConvertYamahaStyToQeSty),
    });
}

MenuItemDef ViewMenuDef()
{
    return MenuPopup("View", {
                                 MenuCheck("&Toolbar", cmd::ViewToolbar),
                                 MenuCheck("&Status Bar", cmd::ViewStatusBar),
                                 MenuSeparator(),
                                 MenuPopup("View Other Language",
                                           {
                                               MenuCheck("&English", cmd::LanguageEnglish),
                                               MenuCheck("Italian", cmd::LanguageItalian),
                                               MenuCheck("German", cmd::LanguageGerman),
                                               MenuCheck("French", cmd::LanguageFrench),
                                           }),
                             });
}

MenuItemDef WindowMenuDef()
{
    return MenuPopup("&Window", {
                                    MenuCommand("Cl&ose", cmd::WindowClose),
                                    MenuCommand("Close All", cmd::WindowCloseAll),
                                    MenuSeparator(),
                                    MenuCommand("&Next", cmd::WindowNext),
                                    MenuCommand("&Previous", cmd::WindowPrev),
                                });
}

MenuItemDef HelpMenuDef(std::string_view title)
{
    return MenuPopup(title, {
                                 MenuCommand("Help Topics", cmd::HelpFinder),
                                 MenuSeparator(),
                                 MenuCommand("About Zib...", cmd::AppAbout),
                             });
}

MenuBarDef MainMenuDef()
{
    return {
        MenuPopup("File", FileMenuCommands()),
        ViewMenuDef(),
        MenuPopup("Utils",
                  {
                      MenuCommand("Collect wq-series CV MIDI files", cmd::CollectWqCvMidi),
                      MenuCommand("Collect QE-series CV Midi files", cmd::CollectQeCvMidi),
                      MenuCommand("Convert Yamaha style to DASK QE styles", cmd::ConvertYamahaStyToQeSty),
                  }),
        MenuPopup("Setup",
                  {
                      MenuCommand("MidiTo wq-series Style Settings", cmd::WqConversionSettings),
                      MenuCommand("MidiTo Qe-series Sty settings", cmd::QeConversionSettings),
                      MenuCommand("StyleToMidi settings", cmd::StyToMidiSettings),
                      MenuCommand("Qe-style to Wq-style settings", cmd::QeTrackToWqTrackSettings),
                      MenuCommand("Yamaha PSR style to Qe style settings", cmd::PsrToQeStySettings),
                      MenuSeparator(),
                      MenuCommand("Style Playback settings", cmd::PlaybackSettings),
                      MenuCommand("&Transpose setting", cmd::TransposeSetting),
                      MenuCommand("Midi Ports settings", cmd::MidiPortsSettings),
                      MenuCommand("&Instruments", cmd::Instruments),
                  }),
        HelpMenuDef(),
    };
}

namespace {

void collect(const std::vector<MenuItemDef>& items, std::vector<std::string_view>* labels,
             std::vector<int>* ids)
{
    for (const auto& item : items) {
        if (labels && !item.label.empty()) labels->push_back(item.label);
        if (ids && (item.kind == MenuItemDef::Kind::Command || item.kind == MenuItemDef::Kind::Check))
            ids->push_back(item.id);
        collect(item.children, labels, ids);
    }
}

} // namespace

std::vector<std::string_view> MenuLabels(const MenuBarDef& menu)
{
    std::vector<std::string_view> labels;
    collect(menu, &labels, nullptr);
    return labels;
}

std::vector<int> MenuCommandIds(const MenuBarDef& menu)
{
    std::vector<int> ids;
    collect(menu, nullptr, &ids);
    return ids;
}

} // namespace zib
