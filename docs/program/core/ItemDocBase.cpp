#include "docs/program/core/ItemDocBase.h"

#include "docs/program/core/DocPaths.h"
#include "midi/ValueTexts.h"
#include "platform/Cp1252.h"
#include "platform/FileIo.h"

#include <filesystem>
#include <set>

namespace zib {

// Item commands

void ItemDocBase::OnEditSelectAll()
{
    std::vector<int> rows(static_cast<size_t>(ShownCount()));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = int(i);
    Port().SetSelection(rows, Port().FocusedRow());
}

void ItemDocBase::OnEditDelete()
{
    if (!DeleteItems()) {
        Notify(DocMessage::Numbered(21, "OnEditDelete", DocIcon::Exclamation));
        RequestClose();
    }
}

void ItemDocBase::OnEditEmpty()
{
    if (!EmptyItems()) {
        Notify(DocMessage::Numbered(22, "OnEditEmpty", DocIcon::Exclamation));
        RequestClose();
    }
}

// Extract

bool ItemDocBase::ExtractItem(int index, const std::string& file)
{
    if (index < 0 || index >= ShownCount()) return false;
    const FileIoError error = writeFileAtomically(file, ItemFileImage(index));
    if (error == FileIoError::None) return true;
    if (error == FileIoError::OpenFailed)
        return Failed(DocMessage::Numbered(9, "Extract Item", DocIcon::Stop));
    return Failed(DocMessage::Text("Error writing item data. Index: %d, errorcode: %d",
                                   {std::to_string(index), std::to_string(int(error))}, "ExtractItem",
                                   DocIcon::Stop));
}

std::string ItemDocBase::ExtractFileName(int index) const
{
    if (index < 0 || index >= ShownCount()) return {};
    std::string name = ShownItem(index).NameText();
    MakeValidFileName(name);
    return name;
}

void ItemDocBase::OnEditExtract()
{
    if (ShownCount() == 0) return;
    const int focused = Port().FocusedRow();
    if (focused < 0 || focused >= ShownCount()) {
        Notify(DocMessage::Numbered(23, "OnEditExtract", DocIcon::Exclamation));
        return;
    }
    const ItemFileKind& kind = ShownFileKind();
    const FileChoice choice{"Extract Item", kind.extractFilter, kind.extension, folder,
                            cp1252ToUtf8(ExtractFileName(focused))};
    if (const auto file = Port().SavePath(choice)) ExtractItem(focused, *file);
}

void ItemDocBase::OnEditExtractAll()
{
    const int count = ShownCount();
    if (count == 0) return;
    const auto chosen = Port().ChooseFolder("Select Destination Folder", folder);
    if (!chosen) return;
    const std::string extension = std::string(".") + ShownFileKind().extension;
    std::set<std::string> used;
    bool overwriteAll = false;
    ScopedWait wait(Port());
    for (int i = 0; i < count; ++i) {
        if (ShownItem(i).data.empty()) continue;
        std::string base = cp1252ToUtf8(ExtractFileName(i));
        if (base.empty()) base = "Item" + std::to_string(i + 1);
        // Items of one name get a number, so the run never overwrites its own files.
        std::string fileName = base + extension;
        for (int n = 2; !used.insert(UpperTail(fileName, fileName.size())).second; ++n)
            fileName = base + "_" + std::to_string(n) + extension;
        const std::string file = JoinPath(*chosen, fileName);
        std::error_code ec;
        if (!overwriteAll && std::filesystem::exists(file, ec)) {
            const DocAnswer answer = Port().OverwriteAnswer(fileName);
            if (answer == DocAnswer::Cancel) return;
            if (answer == DocAnswer::No) continue;
            if (answer == DocAnswer::YesToAll) overwriteAll = true;
        }
        if (!ExtractItem(i, file)) return;
    }
}

// Import

std::optional<std::vector<uint8_t>> ItemDocBase::ReadItemFile(const std::string& file, size_t limit,
                                                              const char* tooLarge, const char* caption) const
{
    std::vector<uint8_t> bytes;
    const FileIoError error = readWholeFile(file, bytes, limit);
    if (error == FileIoError::None) return bytes;
    if (error == FileIoError::TooLarge)
        Notify(DocMessage::Numbered(27, tooLarge));
    else
        Notify(DocMessage::Text("Cannot open file - %d", {std::to_string(int(error))}, caption));
    return std::nullopt;
}

bool ItemDocBase::ImportItem()
{
    if (!HasRoom()) return Failed(DocMessage::Numbered(25, "ImportItem"));
    const ItemFileKind& kind = ShownFileKind();
    const FileChoice choice{kind.importTitle, kind.importFilter, kind.extension, folder, ""};
    const auto files = Port().OpenPaths(choice);
    if (files.empty()) return false;
    importing = true;
    const bool ok = ImportFiles(files);
    importing = false;
    return ok;
}

bool ItemDocBase::ImportFiles(const std::vector<std::string>& files)
{
    const ItemFileKind& kind = ShownFileKind();
    bool ok = true;
    bool added = false;
    for (const std::string& file : files) {
        if (!HasRoom()) {
            Notify(DocMessage::Numbered(25, "ImportItem"));
            break;
        }
        const std::string ext = UpperTail(file, 3);
        if (ext != kind.extension) {
            Notify(DocMessage::Text(kind.wrongType, {ext}, "ImportItem"));
            // The items imported before the refused file stay and must be saved.
            if (added) modified = true;
            return false;
        }
        const ItemResult r = ImportItemFile(file);
        if (r == ItemResult::CloseDocument) {
            RequestClose();
            return false;
        }
        if (r != ItemResult::Added) {
            ok = false;
            break;
        }
        added = true;
    }
    // A run that added nothing changed nothing.
    if (added) modified = true;
    if (ok && ShownCount() > 0) Port().ScrollTo(ShownCount() - 1);
    return ok;
}

// Open and save

void ItemDocBase::WarnRearranged() const
{
    Notify(DocMessage::Text(
        "Found data resources with incorrect bank/position !!!\n\nParsing function rearranged data resources "
        "trying to display all valid style items\nYou must be aware that displayed item order does not "
        "correspond to what is\nfound inside original file. When saving file, new (rearranged) order will be "
        "saved!!!",
        {}, "ParseQESty", DocIcon::Exclamation));
}

bool ItemDocBase::AcceptsQeItemData(std::span<const uint8_t> data, uint8_t type, const char* caption) const
{
    if (data.empty() || IsWritableQeResource(data, type)) return true;
    Notify(DocMessage::Numbered(26, caption, DocIcon::Stop));
    return false;
}

bool ItemDocBase::AcceptsImportedQeItemData(std::span<const uint8_t> data, uint8_t type,
                                            const char* caption) const
{
    if (!data.empty()) return AcceptsQeItemData(data, type, caption);
    Notify(DocMessage::Numbered(26, caption, DocIcon::Stop));
    return false;
}

std::optional<std::vector<uint8_t>>
ItemDocBase::BuildQeFileImage(const std::vector<QeContainerEntry>& entries) const
{
    std::vector<uint8_t> out;
    const QeContainerError error = BuildQeContainer(entries, out);
    if (error == QeContainerError::None) return out;
    Notify(DocMessage::Numbered(error == QeContainerError::OutputFailed ? 48 : 47, "OnSaveDocument",
                                DocIcon::Stop));
    return std::nullopt;
}

} // namespace zib
