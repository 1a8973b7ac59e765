#include "ui/core/MenuModel.h"

#include "ui/core/CommandIds.h"
#include "ui/texts/UiText.h"

#include <iterator>
#include <map>

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
    return MenuPopup("&View", {
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
                                    MenuCommand("Close &All", cmd::WindowCloseAll),
                                    MenuSeparator(),
                                    MenuCommand("&Next", cmd::WindowNext),
                                    MenuCommand("&Previous", cmd::WindowPrev),
                                });
}

MenuItemDef HelpMenuDef()
{
    return MenuPopup("&Help", {
                                 MenuCommand("Help Topics", cmd::HelpFinder),
                                 MenuSeparator(),
                                 MenuCommand("About Zib...", cmd::AppAbout),
                             });
}

MenuBarDef MainMenuDef()
{
    return {
        MenuPopup("&File", FileMenuCommands()),
        ViewMenuDef(),
        MenuPopup("&Utils",
                  {
                      MenuCommand("Collect wq-series CV MIDI files", cmd::CollectWqCvMidi),
                      MenuCommand("Collect QE-series CV Midi files", cmd::CollectQeCvMidi),
                      MenuCommand("Convert Yamaha style to DASK QE styles", cmd::ConvertYamahaStyToQeSty),
                  }),
        MenuPopup("&Setup",
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

MenuBarDef MainMenuWithWindowDef()
{
    MenuBarDef menu = MainMenuDef();
    menu.insert(menu.end() - 1, WindowMenuDef());
    return menu;
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

char32_t MenuMnemonic(std::string_view label)
{
    for (size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != '&') continue;
        if (label[i + 1] == '&') {
            ++i;
            continue;
        }
        // One UTF-8 sequence; capitals of ASCII and Latin-1 count as their small letters.
        const auto* p = reinterpret_cast<const unsigned char*>(label.data()) + i + 1;
        const size_t left = label.size() - i - 1;
        char32_t c = p[0];
        if (c >= 0xC0 && c < 0xE0 && left >= 2)
            c = ((c & 0x1F) << 6) | (p[1] & 0x3F);
        else if (c >= 0xE0 && c < 0xF0 && left >= 3)
            c = ((c & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c += 0x20;
        return c;
    }
    return 0;
}

namespace {

void findClashes(const std::string& place, const std::vector<MenuItemDef>& items, int language,
                 std::vector<std::string>& clashes)
{
    std::map<char32_t, std::vector<std::string>> byKey;
    for (const auto& item : items) {
        if (item.label.empty()) continue;
        const std::string& text = UiText(item.label, language);
        if (const char32_t key = MenuMnemonic(text)) byKey[key].push_back(text);
        if (item.kind == MenuItemDef::Kind::Popup) findClashes(text, item.children, language, clashes);
    }
    for (const auto& [key, labels] : byKey) {
        if (labels.size() < 2) continue;
        std::string line = place + ":";
        for (size_t i = 0; i < labels.size(); ++i) line += (i ? " | " : " ") + labels[i];
        clashes.push_back(line);
    }
}

} // namespace

std::vector<std::string> MnemonicClashes(const MenuBarDef& menu, int language)
{
    std::vector<std::string> clashes;
    findClashes("menu bar", menu, language, clashes);
    return clashes;
}

std::vector<int> MenuCommandIds(const MenuBarDef& menu)
{
    std::vector<int> ids;
    collect(menu, nullptr, &ids);
    return ids;
}

} // namespace zib
