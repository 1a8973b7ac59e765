#include "docs/style/core/CZibItemDoc.h"

#include "docs/style/core/ItemDocSteps.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "docs/style/core/WqStyleItemConversion.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace zib {

CZibItemDoc::CZibItemDoc() : port_(nullptr), nullPort_(std::make_unique<StyNullPort>())
{
    port_ = nullPort_.get();
}

CZibItemDoc::~CZibItemDoc() = default;

void CZibItemDoc::SetPort(StyUiPort* port)
{
    port_ = port ? port : nullPort_.get();
}

void CZibItemDoc::SetModified()
{
    modified_ = true;
    if (modifiedListener_) modifiedListener_();
}

bool CZibItemDoc::TakeAbortRequest()
{
    return std::exchange(abortRequested_, false);
}

bool CZibItemDoc::SaveModified(const std::string& title, const std::function<bool()>& save)
{
    return AskSaveModified(*port_, modified_, title, save);
}

void CZibItemDoc::Clear()
{
    m_Model = ' ';
    m_FileKind = 0;
    m_FirstBank = -1;
    m_FileImage.clear();
    m_Importing = false;
}

bool CZibItemDoc::OpenImage(std::vector<uint8_t> image, const std::string& path)
{
    Clear();
    m_Path = path;
    m_Folder = std::filesystem::u8path(path).parent_path();
    m_FileImage = std::move(image);
    if (m_FileImage.empty()) {
        Notify(StyNotice::Numbered(stymsg::EmptyFile));
        return false;
    }
    m_FileKind = FileKindOfPath(path);
    if (m_FileKind == 0 || !ReadFileImage(path)) {
        Clear();
        return false;
    }
    if (settings_.setLastOpenedDirectory) settings_.setLastOpenedDirectory(m_Folder);
    Tell(StyViewNotice::ColumnsRebuilt);
    Tell(StyViewNotice::RowsChanged);
    return true;
}

void CZibItemDoc::NewDocument()
{
    Clear();
    m_FileKind = NewFileKind();
    Tell(StyViewNotice::ColumnsRebuilt);
    Tell(StyViewNotice::RowsChanged);
}

void CZibItemDoc::AbortAndClear()
{
    Clear();
    abortRequested_ = true;
    Tell(StyViewNotice::DocumentAborted);
}

int CZibItemDoc::Stop(StyNotice notice) const
{
    notice.icon = StyNoticeIcon::Stop;
    Notify(std::move(notice));
    return 0;
}

std::optional<std::vector<uint8_t>> CZibItemDoc::ReadDaskItemFile(const std::filesystem::path& path,
                                                                  const char* caption) const
{
    auto bytes = ReadItemFileBytes(*port_, path, caption);
    if (!bytes) return std::nullopt;
    if (bytes->size() < 5 || std::memcmp(bytes->data(), "DASK", 4) != 0) {
        Stop(StyNotice::Numbered(stymsg::ImportNotExpectedFormat, caption));
        return std::nullopt;
    }
    return bytes;
}

// ---- Item commands ------------------------------------------------------

void CZibItemDoc::OnEditDelete()
{
    DeleteSelectedItems(port_->SelectedRows(), port_->FocusedRow());
}

void CZibItemDoc::OnEditEmpty()
{
    EmptyItems(port_->SelectedRows(), port_->FocusedRow());
}

std::string CZibItemDoc::ExtractFileName(int index) const
{
    if (index < 0 || index >= ItemCount()) return {};
    return ItemFileName(ItemAt(index));
}

void CZibItemDoc::OnEditExtract()
{
    if (StsView()) return;
    const int focused = port_->FocusedRow();
    if (focused < 0 || focused >= ItemCount()) {
        Notify(StyNotice::Numbered(stymsg::NoFocusedItem, "OnEditExtract", StyNoticeIcon::Exclamation));
        return;
    }
    const ItemFileTexts files = ItemFiles();
    const auto path =
        port_->ChooseSaveFile({"Extract Item", files.filter, files.extension, m_Folder, ExtractFileName(focused)});
    if (path) ExtractItem(focused, *path);
}

void CZibItemDoc::OnEditExtractAll()
{
    ExtractAllItems(*port_, m_Folder,
                    {ItemCount(), std::string(".") + ItemFiles().extension,
                     [this](int row) { return ItemAt(row).Size() != 0; },
                     [this](int row) { return ExtractFileName(row); },
                     [this](int row, const std::filesystem::path& file) { return ExtractItem(row, file); }});
}

void CZibItemDoc::SelectAll()
{
    const int count = RowCount();
    std::vector<int> rows(size_t(std::max(count, 0)));
    for (int r = 0; r < count; ++r)
        rows[size_t(r)] = r;
    port_->SetSelection(rows, port_->FocusedRow());
}

int CZibItemDoc::ExtractItem(int index, const std::filesystem::path& path)
{
    if (index < 0 || index >= ItemCount()) return 0;
    const FileIoError error = writeFileAtomically(path, ItemFileBytes(index));
    if (error == FileIoError::OpenFailed) {
        Notify(StyNotice::Numbered(stymsg::CannotOpenFile, "Extract Item", StyNoticeIcon::Stop));
        return 0;
    }
    if (error != FileIoError::None) {
        Notify(StyNotice::Text("Error writing item data. Index: %d, errorcode: %d",
                               {std::to_string(index), FileErrorCode(error)}, "ExtractItem", StyNoticeIcon::Stop));
        return 0;
    }
    return 1;
}

void CZibItemDoc::ImportItem()
{
    if (StsView()) return;
    if (ItemCount() >= ItemLimit()) {
        Notify(StyNotice::Numbered(stymsg::InsertionLimit, "ImportItem"));
        return;
    }
    const ItemFileTexts files = ItemFiles();
    const std::vector<std::filesystem::path> paths =
        port_->ChooseOpenFiles({files.importTitle, files.filter, files.extension, m_Folder, {}});
    if (paths.empty()) return;
    if (ImportItems(paths).failed)
        Tell(StyViewNotice::RowsChanged);
    else
        ShowChangedRows();
}

CZibItemDoc::ImportOutcome CZibItemDoc::ImportItems(const std::vector<std::filesystem::path>& paths)
{
    ImportOutcome outcome;
    if (ItemCount() >= ItemLimit()) {
        Notify(StyNotice::Numbered(stymsg::InsertionLimit, "ImportItem"));
        return outcome;
    }
    m_Importing = true;
    for (const std::filesystem::path& path : paths) {
        if (ItemCount() >= ItemLimit()) {
            Notify(StyNotice::Numbered(stymsg::InsertionLimit, "ImportItem"));
            break;
        }
        const int before = ItemCount();
        const int result = ImportItemFile(path);
        if (abortRequested_) {
            outcome.failed = true;
            return outcome;
        }
        if (ItemCount() > before) ++outcome.imported;
        if (result == 0) {
            outcome.failed = true;
            break;
        }
    }
    m_Importing = false;
    // A batch that added nothing changed nothing.
    if (outcome.imported > 0) SetModified();
    return outcome;
}

// ---- List operations ----------------------------------------------------

bool CZibItemDoc::MoveItem(int direction, int row)
{
    if (StsView()) return false;
    if (row < 0 && !dragRunning_) row = port_->FocusedRow();
    const int target = row + direction;
    if (row < 0 || row >= ItemCount() || target < 0 || target >= ItemCount()) return false;
    Tell(StyViewNotice::CloseToolWindows);
    SwapRows(row, target);
    if (!dragRunning_) {
        const int rows[] = {target};
        port_->SetSelection(rows, target);
    }
    SetModified();
    if (dragRunning_)
        Tell(StyViewNotice::RowsChanged);
    else
        ShowChangedRows();
    return true;
}

void CZibItemDoc::SwapItemContent(CStyItem& a, CStyItem& b) const
{
    std::swap(a.name, b.name);
    std::swap(a.data, b.data);
    std::swap(a.model, b.model);
    if (IsQe()) {
        std::swap(a.kind, b.kind);
        std::swap(a.version, b.version);
        std::swap(a.release, b.release);
        // Every element's summary goes with the style, the Qe9z elements 10 and 11 too.
        std::swap(a.signatures, b.signatures);
        std::swap(a.sounds, b.sounds);
    }
}

// ---- Clipboard and drag-drop --------------------------------------------

void CZibItemDoc::OnEditCopy()
{
    const auto block = CopyBlock(port_->SelectedRows(), port_->FocusedRow());
    if (block && !port_->WriteClipboard(block->Bytes()))
        Notify(StyNotice::Numbered(stymsg::CannotCopyToClipboard, "CopyToClipboard", StyNoticeIcon::Exclamation));
}

void CZibItemDoc::OnEditCut()
{
    Tell(StyViewNotice::CloseToolWindows);
    const std::vector<int> selected = port_->SelectedRows();
    const int focused = port_->FocusedRow();
    const auto block = CopyBlock(selected, focused);
    if (!block) return;
    if (!port_->WriteClipboard(block->Bytes())) {
        Notify(StyNotice::Numbered(stymsg::CannotCopyToClipboard, "CopyToClipboard", StyNoticeIcon::Exclamation));
        return;
    }
    DeleteSelectedItems(selected, focused);
}

CZibItemDoc::PasteOutcome CZibItemDoc::PasteItems(const StyClipboardBlock& block, const char* caption)
{
    PasteOutcome out;
    bool stopped = false;
    uint32_t i = 0;
    for (; i < block.Count() && ItemCount() < ItemLimit() + dropRoom_; ++i) {
        const int result = PasteItem(block, int(i));
        if (result == kStyConvertOk) {
            out.rows.push_back(ItemCount() - 1);
        } else if (result == kStyConvertFailedSaid) {
            continue;
        } else if (result == kStyConvertFatal) {
            AbortAndClear();
            out.rows.clear();
            out.fatal = true;
            return out;
        } else {
            stopped = true;
            break;
        }
    }
    if (!stopped && i < block.Count())
        Notify(StyNotice::Text("MAX ITEM NUM reached. Pasted %d items from clipboard",
                               {std::to_string(out.rows.size())}, caption));
    return out;
}

CZibItemDoc::PasteOutcome CZibItemDoc::OnDrop(std::span<const uint8_t> bytes, int dropRow, bool fromThisView,
                                              bool moveEffect, std::span<const int> draggedRows)
{
    const auto block = StyClipboardBlock::Read(bytes);
    if (!block) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, "OnDrop"));
        return {};
    }
    return DropBlock(*block, dropRow, fromThisView, moveEffect, draggedRows);
}

CZibItemDoc::PasteOutcome CZibItemDoc::DropBlock(const StyClipboardBlock& block, int dropRow, bool fromThisView,
                                                 bool moveEffect, std::span<const int> draggedRows)
{
    PasteOutcome out;
    const std::vector<int> dragged = RowsToMark(draggedRows, -1, ItemCount());
    if (DropsInsideDraggedRows(dropRow, fromThisView, dragged)) {
        Notify(StyNotice::Numbered(stymsg::CannotMoveInsideBlock, "OnDrop"));
        return out;
    }
    if (!AcceptsDrop(block)) return out;
    const bool draggedAway = moveEffect && fromThisView;
    // Rows moved within the list need no room of their own.
    dropRoom_ = draggedAway ? int(dragged.size()) : 0;
    out = PasteBlock(block, "OnDrop");
    dropRoom_ = 0;
    if (out.fatal || out.rows.empty()) return out;
    const int pasted = int(out.rows.size());
    if (draggedAway) DeleteSelectedItems(dragged, -1);
    int first = ItemCount() - pasted;
    if (dropRow >= 0) {
        const int target = DropTargetRow(dropRow, draggedAway, dragged, first);
        dragRunning_ = true;
        for (int j = 0; j < pasted; ++j)
            for (int row = first + j; row > target + j; --row)
                MoveItem(-1, row);
        dragRunning_ = false;
        first = target;
    }
    out.rows.clear();
    for (int j = 0; j < pasted; ++j)
        out.rows.push_back(first + j);
    Renumber();
    port_->SetSelection(out.rows, out.rows.front());
    SetModified();
    ShowChangedRows();
    return out;
}

// ---- MIDI and saving ----------------------------------------------------

std::optional<std::filesystem::path> CZibItemDoc::ChooseDestinationFolder()
{
    auto folder = port_->ChooseFolder("Select Destination Folder", settings_.lastOpenedDirectory);
    if (!folder) return std::nullopt;
    settings_.lastOpenedDirectory = *folder;
    if (settings_.setLastOpenedDirectory) settings_.setLastOpenedDirectory(*folder);
    return folder;
}

int CZibItemDoc::ExportRowsToMidi(std::span<const int> rows, const char* report,
                                  const std::function<int(int row, bool& yesToAll)>& exportRow)
{
    const std::vector<int> chosen = RowsToMark(rows, -1, ItemCount());
    int converted = 0;
    {
        StyWaitCursor wait(*port_);
        bool yesToAll = false;
        for (int row : chosen) {
            const int result = exportRow(row, yesToAll);
            if (result < 0) break;
            converted += result;
        }
    }
    Notify(StyNotice::Text(report, {std::to_string(converted), std::to_string(chosen.size())}, "DumpStyleToMidi"));
    return converted;
}

std::vector<uint8_t> CZibItemDoc::BuildQeContainerImage(std::span<const QeContainerEntry> entries, int bank) const
{
    UlrfContainerPtr container(_ULRFCreateInstance(nullptr, 0));
    for (const QeContainerEntry& entry : entries) {
        const CStyItem& item = *entry.item;
        UlrfResInstancePtr resource(_ULRFCreateResInstance(item.data.data(), uint32_t(item.data.size())));
        const int i = resource && container ? _ULRFInsertResource(container.get(), -1, resource.get()) : -1;
        if (i < 0) {
            Notify(StyNotice::Numbered(stymsg::IncorrectFormatWhileSaving));
            return {};
        }
        const std::string name = item.NameText();
        _ULRFModifyIndex(container.get(), i, name.c_str(), bank, entry.position);
    }
    if (entries.empty()) {
        Notify(StyNotice::Numbered(stymsg::CannotSaveEmptyFile));
        return {};
    }
    const int size = _ULRFOutBufferSize(container.get());
    std::vector<uint8_t> image(size > 0 ? static_cast<size_t>(size) : 0);
    if (image.empty() || !_ULRFFillOutBuffer(container.get(), image.data())) {
        Notify(StyNotice::Numbered(stymsg::CannotFillQeOutput));
        return {};
    }
    return image;
}

} // namespace zib
