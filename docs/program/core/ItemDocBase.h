#pragma once

#include "docs/program/core/ItemRows.h"
#include "docs/program/core/ProgramDocBase.h"
#include "docs/program/core/QeContainerImage.h"
#include "docs/style/core/CItemInfo.h"
#include "docs/style/core/CQeBank.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// Outcome of adding one item (import, paste, drop) and of a conversion.
enum class ItemResult {
    Added = 0,
    Failed = -1,        // refused or failed, after its message where there is one
    CloseDocument = -2, // the document must be closed
};

// The item file of a list: its extension and the texts of its dialogs.
struct ItemFileKind {
    const char* extension;     // "WPF", upper case, without the dot
    const char* extractFilter; // "WqProgram Files (*.WPF)|*.WPF||"
    const char* importTitle;   // "Import Programs"
    const char* importFilter;
    const char* wrongType; // "Error: Not WPF file type: %s"
};

// What the program, performance and arrangement documents do alike on the
// items of the list they show: Select All, Delete and Empty with their
// failure rule, Extract Item and Extract All Items as item files, and Import
// Item(s) file by file. Each document supplies its shown items, their item
// files and the import of one file.
class ItemDocBase : public ProgramDocBase {
public:
    bool importing = false; // set while items are imported, pasted or dropped
    int sourceModel = 0;    // the model letter of the item being added

    // Item commands on the view's selection (else its focused row)
    void OnEditSelectAll();
    // A failed Delete or Empty leaves the document unusable: its message
    // (21, 22), then the window closes it.
    void OnEditDelete();
    void OnEditEmpty();
    virtual bool DeleteItems() = 0;
    virtual bool EmptyItems() = 0;

    // Extract Item: the focused item into the file the user chooses.
    void OnEditExtract();
    // Extract All Items: every item with data into a folder the user chooses.
    void OnEditExtractAll();
    // Writes item `index` of the shown list as an item file.
    bool ExtractItem(int index, const std::string& file);
    // The item file's name offered for item `index`: its name made file-safe
    // (Windows-1252).
    std::string ExtractFileName(int index) const;
    // The bytes of the item file of item `index` of the shown list.
    virtual std::vector<uint8_t> ItemFileImage(int index) const = 0;

    // Import Item(s): the dialog, then the chosen files in order; false when
    // the list is full, nothing was chosen or a file failed.
    bool ImportItem();
    void OnEditImport() { ImportItem(); }
    // The files in order while the list has room: a file of another
    // extension stops the run, as does a failed import. The document is
    // modified afterwards when an item was added (also when the run stopped
    // after it).
    bool ImportFiles(const std::vector<std::string>& files);

    // The most items the shown list's file keeps; import, paste and drop stop
    // there, so that a saved file opens again with every item in its place.
    virtual int ItemLimit() const = 0;
    bool HasRoom() const { return ShownCount() < ItemLimit(); }

    // Whether a Qe item's data (none, or a resource of `type`) can be saved;
    // an item that could not is refused here, at import, paste and drop, with
    // message 26 ("Imported File not expected format - Insertion failed!").
    bool AcceptsQeItemData(std::span<const uint8_t> data, uint8_t type, const char* caption) const;
    // The same for an imported item, which must hold data: an item file
    // with an empty body would be listed but not saved, and is refused with
    // message 26 too.
    bool AcceptsImportedQeItemData(std::span<const uint8_t> data, uint8_t type, const char* caption) const;

protected:
    // The list the commands act on
    virtual int ShownCount() const = 0;
    virtual const CItemInfo& ShownItem(int index) const = 0;
    virtual const ItemFileKind& ShownFileKind() const = 0;
    // Imports one item file of the shown kind.
    virtual ItemResult ImportItemFile(const std::string& file) = 0;

    // An item file read whole: nullopt after message 27 for a file over
    // `limit` bytes (no item file of the kind is that long, `tooLarge` the
    // caption) or "Cannot open file - %d" (`caption`).
    std::optional<std::vector<uint8_t>> ReadItemFile(const std::string& file, size_t limit,
                                                     const char* tooLarge, const char* caption) const;

    // The rows of a Qe document from its bank index, one a position from 0
    // to the largest used: an empty row (model 'F', "** (N/A) EMPTY **",
    // resource index, bank and bank position -1) where no resource sits,
    // else the item `get` builds from resource r, named, placed and banked
    // by its entry; `firstBank` takes the first bank met. Every row takes its
    // position, `kind` and its name normalised for `model`. False when `get`
    // failed (the rows cleared). When the index had to move misplaced
    // resources, a warning says so.
    template <class Item>
    bool ReadQeBankRows(const CQeBank& bank, std::vector<Item>& items, uint32_t model, uint32_t kind,
                        int& firstBank, const std::function<bool(Item&, int)>& get)
    {
        for (int p = 0; p <= bank.GetMaxPosition(); ++p) {
            Item item;
            const int r = bank.FindByPosition(p);
            if (r < 0) {
                item.model = 'F';
                item.SetName("** (N/A) EMPTY **");
                item.resourceIndex = item.bankPosition = item.bank = -1;
            } else {
                if (!get(item, r)) {
                    items.clear();
                    return false;
                }
                const QeBankEntry& e = bank.entries[size_t(r)];
                item.SetName(std::string_view(e.name.data(), e.name.size()));
                item.resourceIndex = e.resourceIndex;
                item.bankPosition = e.position;
                item.bank = e.bank;
                if (firstBank < 0) firstBank = e.bank;
            }
            item.position = uint32_t(p);
            item.kind = kind;
            ConvertItemName(item.name, model, 1);
            items.push_back(std::move(item));
        }
        if (bank.changed) WarnRearranged();
        return true;
    }

    // Save of a Qe document: one resource of `type` per item with data, at
    // its row's position, in `bank` (else the item's own); empty rows stay
    // gaps. Nullopt after message 47 or 48.
    template <class Item>
    std::optional<std::vector<uint8_t>> BuildQeFileImage(const std::vector<Item>& items, uint8_t type,
                                                         int bank) const
    {
        std::vector<QeContainerEntry> entries;
        for (size_t row = 0; row < items.size(); ++row) {
            const Item& item = items[row];
            if (item.data.empty()) continue;
            QeContainerEntry e;
            e.resource = item.data;
            std::copy_n(item.name.begin(), e.name.size(), e.name.begin());
            e.type = type;
            e.bank = uint8_t(bank >= 0 ? bank : std::max(item.bank, 0));
            e.position = uint8_t(row);
            entries.push_back(e);
        }
        return BuildQeFileImage(entries);
    }
    std::optional<std::vector<uint8_t>> BuildQeFileImage(const std::vector<QeContainerEntry>& entries) const;

    // Delete on a list: the marked rows erased, positions renumbered.
    template <class Item> bool DeleteMarkedItems(std::vector<Item>& items)
    {
        const auto rows = MarkedRows(Port().SelectedRows(), Port().FocusedRow(), int(items.size()));
        if (rows.empty()) return true;
        for (int row : rows) {
            items.erase(items.begin() + row);
            Port().RowsDeleted(row, 1);
        }
        RenumberPositions(items);
        modified = true;
        Port().RedrawAll();
        return true;
    }
    void WarnRearranged() const;

    // The rows Empty acts on.
    std::vector<int> MarkedItemRows() const
    {
        return MarkedRows(Port().SelectedRows(), Port().FocusedRow(), ShownCount());
    }
};

} // namespace zib
