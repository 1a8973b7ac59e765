#include "devices/core/InstrumentTree.h"

namespace zib {

namespace {

using Item = InstrumentTreeItem;

// One list item with an item per non-empty name, "%d = \"%s\"".
Item listItem(std::string text, const InsNameArray& names)
{
    Item list{Item::List, std::move(text), {}};
    for (size_t n = 0; n < names.size(); ++n)
        if (!names[n].empty()) list.children.push_back({Item::Name, std::to_string(n) + " = \"" + names[n] + "\"", {}});
    return list;
}

std::string noteListText(const CInsNoteNames& list)
{
    const std::string bank = list.bank >= 0 ? std::to_string(list.bank) : "*";
    const std::string patch = list.patch >= 0 ? std::to_string(list.patch) : "*";
    return "[" + bank + "," + patch + "] - " + list.name;
}

} // namespace

InstrumentTreeItem BuildInstrumentTree(const InstrumentArray& instruments)
{
    Item root{Item::Root, "Instruments", {}};
    for (const auto& instrument : instruments) {
        if (!instrument) continue;
        Item item{Item::Instrument, instrument->name, {}};
        Item patches{Item::Category, "Patch Names", {}};
        for (const auto& list : instrument->patchLists)
            patches.children.push_back(listItem(
                (list.bank >= 0 ? std::to_string(list.bank) : std::string("(*)")) + " - " + list.name, list.names));
        Item notes{Item::Category, "Note Names", {}};
        for (const auto& list : instrument->noteLists)
            notes.children.push_back(listItem(noteListText(list), list.names));
        Item controllers{Item::Category, "Controller Names", {}};
        for (const auto& list : instrument->controllerLists)
            controllers.children.push_back(listItem(list.name, list.names));
        item.children = {std::move(patches), std::move(notes), std::move(controllers)};
        root.children.push_back(std::move(item));
    }
    return root;
}

} // namespace zib
