#include "docs/style/core/CZibPadDoc.h"

#include "docs/style/core/CQeStyBank.h"
#include "docs/style/core/DasfIndex.h"
#include "docs/style/core/ItemBuilders.h"
#include "docs/style/core/ItemDocSteps.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "midi/ValueTexts.h"
#include "platform/FileIo.h"
#include "styles/CQeStyleInfo.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace zib {

namespace {


void setTrimmedName(CItemInfo& item, const std::array<char, 18>& name)
{
    item.SetName(std::string_view(name.data(), name.size()));
    ConvertItemName(item.name, 'F', 1);
}

} // namespace

CZibPadDoc::CZibPadDoc() : nullPort_(std::make_unique<StyNullPort>())
{
    port_ = nullPort_.get();
}


void CZibPadDoc::SetPort(StyUiPort* port)
{
    port_ = port ? port : nullPort_.get();
}

void CZibPadDoc::SetModified()
{
    modified_ = true;
    if (modifiedListener_) modifiedListener_();
}

bool CZibPadDoc::TakeAbortRequest()
{
    const bool requested = abortRequested_;
    abortRequested_ = false;
    return requested;
}

void CZibPadDoc::AbortAndClear()
{
    Clear();
    abortRequested_ = true;
    Tell(StyViewNotice::DocumentAborted);
}

void CZibPadDoc::Clear()
{
    m_PadItems.clear();
    m_Model = ' ';
    m_FileKind = 0;
    m_FirstBank = -1;
    m_FileImage.clear();
    m_Importing = false;
    m_ImportLetter = 0;
}

void CZibPadDoc::Renumber()
{
    for (size_t i = 0; i < m_PadItems.size(); ++i)
        m_PadItems[i].position = uint32_t(i);
}

int CZibPadDoc::BankForNewItems()
{
    if (PadCount() == 0 || m_FirstBank < 0) m_FirstBank = 20;
    return m_FirstBank;
}

// ---- Opening ------------------------------------------------------------

uint32_t CZibPadDoc::CheckExtension(const std::string& path)
{
    if (path.size() < 4) return 0;
    return UpperAscii(path.substr(path.size() - 4)) == ".PAD" ? 5 : 0;
}

bool CZibPadDoc::OpenImage(std::vector<uint8_t> image, const std::string& path)
{
    Clear();
    m_Path = path;
    m_Folder = std::filesystem::u8path(path).parent_path();
    m_FileImage = std::move(image);
    if (m_FileImage.empty()) {
        Notify(StyNotice::Numbered(stymsg::EmptyFile));
        return false;
    }
    m_FileKind = CheckExtension(path);
    if (m_FileKind == 0 || !CheckHeader() || !ParseQESty()) {
        Clear();
        return false;
    }
    if (settings_.setLastOpenedDirectory) settings_.setLastOpenedDirectory(m_Folder);
    Tell(StyViewNotice::ColumnsRebuilt);
    Tell(StyViewNotice::RowsChanged);
    return true;
}

bool CZibPadDoc::CheckHeader()
{
    if (IsDasfContainer(m_FileImage)) {
        m_Model = 'F';
        return true;
    }
    Notify(StyNotice::Numbered(stymsg::NotDaskOrNotSupported));
    return false;
}

int CZibPadDoc::ParseQESty()
{
    m_PadItems.clear();
    CQeStyBank bank;
    UlrfContainerPtr container = bank.LoadPadIndex(m_FileImage);
    if (!container) {
        // A container without pads, or one the library cannot read.
        Notify(StyNotice::Numbered(stymsg::FormatNotSupported, "ParseQESty"));
        return 0;
    }
    m_Model = bank.GetModelCode();
    const int max = bank.GetMaxPosition();
    bool anyX = false;
    for (int p = 0; p <= max; ++p) {
        CQePadItem pad;
        const int r = bank.FindByPosition(p);
        if (r < 0) {
            pad.SetName(kEmptyName);
            pad.resourceIndex = -1;
            pad.bank = 20;
            pad.bankPosition = -1;
            pad.version = 1;
            pad.release = 0;
        } else {
            const QeItemBuild built = GetQEItem(pad, container.get(), r, 9, port_->Sink());
            if (built != QeItemBuild::Built) {
                if (built == QeItemBuild::UnsupportedVersion)
                    Notify(StyNotice::Numbered(stymsg::FormatNotSupported));
                m_PadItems.clear();
                return 0;
            }
            const QeBankEntry& e = bank.entries[size_t(r)];
            pad.SetName(std::string_view(e.name.data(), e.name.size()));
            pad.resourceIndex = e.resourceIndex;
            pad.bank = e.bank;
            pad.bankPosition = e.position;
            if (m_FirstBank < 0) m_FirstBank = e.bank;
            if (pad.model == 'X') anyX = true;
        }
        pad.position = uint32_t(p);
        ConvertItemName(pad.name, 'F', 1);
        pad.kind = 9;
        m_PadItems.push_back(std::move(pad));
    }
    container.reset();
    if (bank.changed) Notify(RearrangedNotice());
    // Empty places do not decide the model: they take the document's letter.
    if (anyX || m_PadItems.size() >= 17) m_Model = 'X';
    for (CQePadItem& pad : m_PadItems)
        if (pad.Size() == 0) pad.model = m_Model;
    return 1;
}

bool CZibPadDoc::SaveModified(const std::string& title, const std::function<bool()>& save)
{
    return AskSaveModified(*port_, modified_, title, save);
}

// ---- Item commands ------------------------------------------------------

void CZibPadDoc::OnEditDelete()
{
    DeleteItems(port_->SelectedRows(), port_->FocusedRow());
}

int CZibPadDoc::DeleteItems(std::span<const int> selected, int focused)
{
    const std::vector<int> rows = RowsToMark(selected, focused, PadCount());
    if (rows.empty()) return 1;
    Tell(StyViewNotice::CloseToolWindows);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        m_PadItems.erase(m_PadItems.begin() + *it);
    Renumber();
    port_->SetSelection({}, -1);
    SetModified();
    Tell(StyViewNotice::RowsChanged);
    return 1;
}

void CZibPadDoc::OnEditEmpty()
{
    EmptyItems(port_->SelectedRows(), port_->FocusedRow());
}

int CZibPadDoc::EmptyItems(std::span<const int> selected, int focused)
{
    const std::vector<int> rows = RowsToMark(selected, focused, PadCount());
    if (rows.empty()) return 1;
    Tell(StyViewNotice::CloseToolWindows);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        CQePadItem& pad = m_PadItems[size_t(*it)];
        pad.model = m_Model;
        if (pad.Size() == 0) continue;
        pad.data.clear();
        pad.data.shrink_to_fit();
        pad.SetName(kEmptiedName);
        ConvertItemName(pad.name, m_Model, 1);
    }
    SetModified();
    Tell(StyViewNotice::RowsChanged);
    return 1;
}

std::string CZibPadDoc::ExtractFileName(int index) const
{
    if (index < 0 || index >= PadCount()) return {};
    return ItemFileName(m_PadItems[size_t(index)]);
}

void CZibPadDoc::OnEditExtract()
{
    const int focused = port_->FocusedRow();
    if (PadCount() == 0 || focused < 0 || focused >= PadCount()) {
        Notify(StyNotice::Numbered(stymsg::NoFocusedItem, "OnEditExtract", StyNoticeIcon::Exclamation));
        return;
    }
    const auto path = port_->ChooseSaveFile(
        {"Extract Item", "Zib Pad Files (*.ZPF)|*.ZPF||", "ZPF", m_Folder, ExtractFileName(focused)});
    if (path) WriteItemFile(focused, *path);
}

void CZibPadDoc::OnEditExtractAll()
{
    ExtractAllItems(*port_, m_Folder,
                    {PadCount(), ".ZPF", [this](int row) { return m_PadItems[size_t(row)].Size() != 0; },
                     [this](int row) { return ExtractFileName(row); },
                     [this](int row, const std::filesystem::path& file) { return WriteItemFile(row, file); }});
}

void CZibPadDoc::SelectAll()
{
    std::vector<int> rows(m_PadItems.size());
    for (size_t r = 0; r < rows.size(); ++r)
        rows[r] = int(r);
    port_->SetSelection(rows, port_->FocusedRow());
}

int CZibPadDoc::WriteItemFile(int index, const std::filesystem::path& path)
{
    if (index < 0 || index >= PadCount()) return 0;
    const FileIoError error = writeFileAtomically(path, PadItemFileBytes(m_Model, m_PadItems[size_t(index)]));
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

void CZibPadDoc::ImportItem()
{
    if (PadCount() >= kItemLimit) {
        Notify(StyNotice::Numbered(stymsg::InsertionLimit, "ImportItem"));
        return;
    }
    const std::vector<std::filesystem::path> paths =
        port_->ChooseOpenFiles({"Import Pads", "Zib Pad Files (*.ZPF)|*.ZPF||", "ZPF", m_Folder, {}});
    if (paths.empty()) return;
    ImportItems(paths);
    Tell(StyViewNotice::RowsChanged);
}

CZibPadDoc::ImportOutcome CZibPadDoc::ImportItems(const std::vector<std::filesystem::path>& paths)
{
    ImportOutcome outcome;
    if (PadCount() >= kItemLimit) {
        Notify(StyNotice::Numbered(stymsg::InsertionLimit, "ImportItem"));
        return outcome;
    }
    m_Importing = true;
    for (const std::filesystem::path& path : paths) {
        if (PadCount() >= kItemLimit) {
            Notify(StyNotice::Numbered(stymsg::InsertionLimit, "ImportItem"));
            break;
        }
        const std::string ext = UpperAscii(Utf8Text(path.extension()));
        if (ext != ".ZPF") {
            Notify(StyNotice::Text("Error: Not ZPF file type: %s", {ext.empty() ? ext : ext.substr(1)}, "ImportItem"));
            outcome.failed = true;
            break;
        }
        const int before = PadCount();
        const int result = ImportPad(path);
        if (PadCount() > before) ++outcome.imported;
        if (result == 0) {
            outcome.failed = true;
            break;
        }
    }
    m_Importing = false;
    SetModified();
    return outcome;
}

int CZibPadDoc::ImportPad(const std::filesystem::path& path)
{
    static constexpr const char* kCaption = "ImportPad";
    const auto stop = [this](StyNotice notice) {
        notice.icon = StyNoticeIcon::Stop;
        Notify(std::move(notice));
        return 0;
    };
    const auto bytes = ReadItemFileBytes(*port_, path, kCaption);
    if (!bytes) return 0;
    const std::vector<uint8_t>& file = *bytes;
    if (file.size() < 5 || std::memcmp(file.data(), "DASK", 4) != 0 || (file[4] != 'F' && file[4] != 'X'))
        return stop(StyNotice::Numbered(stymsg::ImportNotExpectedFormat, kCaption));
    const uint32_t letter = file[4];
    m_ImportLetter = letter;
    const size_t headerSize = letter == 'X' ? QeItemSizeHeader::kSize : QeItemSizeHeader::kOldSize;
    if (file.size() < 5 + headerSize)
        return stop(StyNotice::Text(letter == 'X' ? "Error reading QE9Z item header data - %d"
                                                  : "Error reading QE4K item header data - %d",
                                    {FileErrorCode(FileIoError::ReadFailed)}, kCaption));
    const QeItemSizeHeader header =
        QeItemSizeHeader::Read(std::span<const uint8_t>(file).subspan(5, headerSize), letter == 'F');
    if (letter == 'X' && m_Model == 'F' && int32_t(header.stsVersion) > 0) {
        stop(StyNotice::Text("Cannot import QE9Z pad: %s, into QE4K file!!!", {Utf8Text(path)}, kCaption));
        return 1;
    }
    // The header's size is checked against the file before anything is copied.
    if (header.styleSize > file.size() - 5 - headerSize)
        return stop(StyNotice::Numbered(stymsg::WrongBytesRead, kCaption));

    CQePadItem pad;
    pad.position = uint32_t(PadCount());
    pad.model = letter;
    if (letter == 'X') {
        pad.version = header.styleVersion;
        pad.release = header.styleRelease;
    }
    const uint32_t documentModel = m_Model == ' ' || PadCount() == 0 ? letter : m_Model;
    if (documentModel == 'X') {
        pad.model = letter == 'X' && pad.version != 0 ? 'X' : 'F';
    } else if (letter == 'X' && pad.version != 0) {
        return stop(StyNotice::Numbered(stymsg::Qe9zIntoQe4k, kCaption));
    } else {
        pad.model = 'F';
    }
    const auto data = std::span<const uint8_t>(file).subspan(5 + headerSize, header.styleSize);
    pad.data.assign(data.begin(), data.end());
    setTrimmedName(pad, header.styleName);
    pad.kind = 9;
    const bool wasEmpty = m_Model == ' ' || PadCount() == 0;
    if (pad.Size() == 0) {
        pad.resourceIndex = pad.bankPosition = -1;
        pad.bank = 20;
    } else {
        pad.resourceIndex = pad.bankPosition = int32_t(pad.position);
        if (!AddSoundInfo(pad)) return stop(StyNotice::Numbered(stymsg::CannotAddSoundInfo, kCaption));
    }
    if (wasEmpty) {
        m_Model = letter;
        Tell(StyViewNotice::ColumnsRebuilt);
    }
    if (pad.Size() != 0) pad.bank = BankForNewItems();
    m_PadItems.push_back(std::move(pad));
    Tell(StyViewNotice::RowAdded, PadCount() - 1);
    return 1;
}

// ---- List operations ----------------------------------------------------

bool CZibPadDoc::MoveItem(int direction, int row)
{
    if (row < 0 && !dragRunning_) row = port_->FocusedRow();
    const int target = row + direction;
    if (row < 0 || row >= PadCount() || target < 0 || target >= PadCount()) return false;
    Tell(StyViewNotice::CloseToolWindows);
    CQePadItem& a = m_PadItems[size_t(row)];
    CQePadItem& b = m_PadItems[size_t(target)];
    std::swap(a.name, b.name);
    std::swap(a.data, b.data);
    std::swap(a.model, b.model);
    if (IsQe()) {
        std::swap(a.kind, b.kind);
        std::swap(a.version, b.version);
        std::swap(a.release, b.release);
        std::swap(a.signatures, b.signatures);
        std::swap(a.sounds, b.sounds);
    }
    if (!dragRunning_) {
        const int rows[] = {target};
        port_->SetSelection(rows, target);
    }
    SetModified();
    Tell(StyViewNotice::RowsChanged);
    return true;
}

int CZibPadDoc::RenameLimit(int row) const
{
    if (row < 0 || row >= PadCount() || m_PadItems[size_t(row)].Size() == 0) return 0;
    return 18;
}

bool CZibPadDoc::RenameItem(int row, std::string_view text)
{
    if (RenameLimit(row) == 0 || !IsQe()) return false;
    CQePadItem& pad = m_PadItems[size_t(row)];
    pad.SetName(text.substr(0, std::min<size_t>(text.size(), 18)));
    ConvertItemName(pad.name, m_Model, 1);
    SetModified();
    Tell(StyViewNotice::RowsChanged, row);
    return true;
}

void CZibPadDoc::SetBank(int bank)
{
    m_FirstBank = bank;
    for (CQePadItem& pad : m_PadItems)
        if (pad.Size()) pad.bank = bank;
    SetModified();
    Tell(StyViewNotice::RowsChanged);
}

// ---- Clipboard and drag-drop --------------------------------------------

std::optional<StyClipboardBlock> CZibPadDoc::CopyBlock(std::span<const int> selected) const
{
    const std::vector<int> rows = RowsToMark(selected, -1, PadCount());
    if (rows.empty()) return std::nullopt;
    if (rows.size() > StyClipboardBlock::kMaxItems) {
        Notify(StyNotice::Numbered(stymsg::CannotCopyToClipboard, "CopyToClipboard", StyNoticeIcon::Exclamation));
        return std::nullopt;
    }
    StyClipboardBlock block;
    block.model = uint8_t(m_Model);
    block.fileKind = 5;
    block.selector = 1;
    block.contentCode = StyClipboardBlock::kPads;
    for (int r : rows)
        block.parts.push_back(StyClipboardBlock::PadPart(m_PadItems[size_t(r)]));
    return block;
}

void CZibPadDoc::OnEditCopy()
{
    const auto block = CopyBlock(port_->SelectedRows());
    if (block && !port_->WriteClipboard(block->Bytes()))
        Notify(StyNotice::Numbered(stymsg::CannotCopyToClipboard, "CopyToClipboard", StyNoticeIcon::Exclamation));
}

void CZibPadDoc::OnEditCut()
{
    Tell(StyViewNotice::CloseToolWindows);
    const std::vector<int> selected = port_->SelectedRows();
    const auto block = CopyBlock(selected);
    if (!block) return;
    if (!port_->WriteClipboard(block->Bytes())) {
        Notify(StyNotice::Numbered(stymsg::CannotCopyToClipboard, "CopyToClipboard", StyNoticeIcon::Exclamation));
        return;
    }
    DeleteItems(selected, -1);
}

bool CZibPadDoc::AcceptsBlock(const StyClipboardBlock& block) const
{
    return block.fileKind == m_FileKind && block.contentCode == StyClipboardBlock::kPads &&
           (block.model == 'X' || block.model == 'F');
}

void CZibPadDoc::OnEditPaste()
{
    const auto block = ReadClipboardBlock(*port_, "OnEditPaste");
    if (!block) return;
    if (block->fileKind != m_FileKind || block->contentCode != StyClipboardBlock::kPads) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardType, "OnEditPaste"));
        return;
    }
    const PasteOutcome outcome = PasteBlock(*block, "OnEditPaste");
    if (!outcome.fatal && !outcome.rows.empty()) port_->SetSelection(outcome.rows, outcome.rows.front());
}

int CZibPadDoc::PastePadItem(const StyClipboardBlock& block, int index)
{
    static constexpr const char* kCaption = "PastePadItem";
    if ((block.model != 'X' && block.model != 'F') || index < 0 || uint32_t(index) >= block.Count()) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, kCaption));
        return -1;
    }
    const auto part = StyClipboardBlock::ReadQePart(block.parts[size_t(index)]);
    if (!part) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, kCaption));
        return -1;
    }
    // A Qe9z pad does not go into a Qe4k pad file; the paste goes on.
    if (m_Model == 'F' && PadCount() > 0 && part->header.styleVersion != 0) {
        Notify(StyNotice::Numbered(stymsg::Qe9zIntoQe4k, kCaption));
        return -3;
    }
    CQePadItem pad;
    pad.data.assign(part->style.begin(), part->style.end());
    pad.position = uint32_t(PadCount());
    pad.kind = 9;
    pad.version = part->header.styleVersion;
    pad.release = part->header.styleRelease;
    pad.model = pad.version ? 'X' : 'F';
    if (pad.Size() != 0 && !AddSoundInfo(pad)) {
        Notify(StyNotice::Numbered(stymsg::CannotAddSoundInfo, kCaption));
        return -1;
    }
    if (m_Model == ' ' || PadCount() == 0) {
        m_Model = block.model;
        Tell(StyViewNotice::ColumnsRebuilt);
    }
    if (pad.Size() == 0) {
        pad.resourceIndex = pad.bankPosition = -1;
        pad.bank = 20;
    } else {
        pad.resourceIndex = pad.bankPosition = int32_t(pad.position);
        pad.bank = BankForNewItems();
    }
    setTrimmedName(pad, part->header.styleName);
    m_PadItems.push_back(std::move(pad));
    Tell(StyViewNotice::RowAdded, PadCount() - 1);
    return 0;
}

CZibPadDoc::PasteOutcome CZibPadDoc::PasteBlock(const StyClipboardBlock& block, const char* caption)
{
    PasteOutcome out;
    // A block whose letter or parts are wrong changes nothing.
    bool fits = block.model == 'X' || block.model == 'F';
    for (const auto& part : block.parts)
        fits = fits && StyClipboardBlock::ReadQePart(part).has_value();
    if (!fits) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, caption));
        return out;
    }
    uint32_t i = 0;
    bool stopped = false;
    for (; i < block.Count() && PadCount() < kItemLimit; ++i) {
        const int result = PastePadItem(block, int(i));
        if (result == -2) {
            AbortAndClear();
            out.rows.clear();
            out.fatal = true;
            return out;
        }
        if (result == -3) continue;
        if (result != 0) {
            stopped = true;
            break;
        }
        out.rows.push_back(PadCount() - 1);
    }
    if (!stopped && i < block.Count())
        Notify(StyNotice::Text("MAX ITEM NUM reached. Pasted %d items from clipboard",
                               {std::to_string(out.rows.size())}, caption));
    if (!out.rows.empty()) {
        SetModified();
        Tell(StyViewNotice::RowsChanged);
    }
    return out;
}

CZibPadDoc::PasteOutcome CZibPadDoc::OnDrop(std::span<const uint8_t> bytes, int dropRow, bool fromThisView,
                                            bool moveEffect, std::span<const int> draggedRows)
{
    const auto block = StyClipboardBlock::Read(bytes);
    if (!block) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, "OnDrop"));
        return {};
    }
    return DropBlock(*block, dropRow, fromThisView, moveEffect, draggedRows);
}

CZibPadDoc::PasteOutcome CZibPadDoc::DropBlock(const StyClipboardBlock& block, int dropRow, bool fromThisView,
                                               bool moveEffect, std::span<const int> draggedRows)
{
    PasteOutcome out;
    const std::vector<int> dragged = RowsToMark(draggedRows, -1, PadCount());
    if (DropsInsideDraggedRows(dropRow, fromThisView, dragged)) {
        Notify(StyNotice::Numbered(stymsg::CannotMoveInsideBlock, "OnDrop"));
        return out;
    }
    if (!AcceptsBlock(block)) return out;
    out = PasteBlock(block, "OnDrop");
    if (out.fatal || out.rows.empty()) return out;
    const int pasted = int(out.rows.size());
    const bool draggedAway = moveEffect && fromThisView;
    if (draggedAway) DeleteItems(dragged, -1);
    int first = PadCount() - pasted;
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
    Tell(StyViewNotice::RowsChanged);
    return out;
}

// ---- Pad To MIDI --------------------------------------------------------

int CZibPadDoc::OnUtilPadToMidi()
{
    if (PadCount() == 0 || m_FileKind != 5) return 0;
    const auto folder = port_->ChooseFolder("Select Destination Folder", settings_.lastOpenedDirectory);
    if (!folder) return 0;
    m_Folder = *folder;
    settings_.lastOpenedDirectory = *folder;
    if (settings_.setLastOpenedDirectory) settings_.setLastOpenedDirectory(*folder);
    return PadsToMidi(port_->SelectedRows(), *folder);
}

int CZibPadDoc::PadsToMidi(std::span<const int> rows, const std::filesystem::path& folder)
{
    const std::vector<int> chosen = RowsToMark(rows, -1, PadCount());
    int converted = 0;
    bool yesToAll = false;
    {
        StyWaitCursor wait(*port_);
        for (int r : chosen) {
            const CQePadItem& pad = m_PadItems[size_t(r)];
            if (pad.Size() == 0) continue;
            const int result = PadToMidi(pad, folder, yesToAll);
            if (result < 0) break;
            converted += result;
        }
    }
    Notify(StyNotice::Text("Successfully converted %d pads of %d selected",
                           {std::to_string(converted), std::to_string(chosen.size())}, "DumpStyleToMidi"));
    return converted;
}

int CZibPadDoc::PadToMidi(const CQePadItem& pad, const std::filesystem::path& folder, bool& yesToAll)
{
    CQeStyleInfo info(pad.data);
    const int elements = pad.version != 0 ? 12 : 10;
    const std::string name = ItemFileName(pad);
    auto cvFile = [&](const std::string& middle, int e, int cv) {
        return folder / std::filesystem::u8path(name + middle + GetQeElementShortName(e) + char('1' + cv) + ".mid");
    };
    std::vector<std::pair<int, int>> present;
    for (int e = 0; e < elements; ++e)
        for (int cv = 0; cv < (e < 4 ? 6 : 2); ++cv)
            if (info.HasChordVar(e, cv)) present.emplace_back(e, cv);

    if (settings_.styToMidiType != 0) {
        // Converted only when every file was written.
        bool all = !present.empty();
        for (const auto& [e, cv] : present)
            all = info.CreateMidiFromQeCvOrTrack(e, cv, 255, cvFile("_", e, cv), 0) == 1 && all;
        return all ? 1 : 0;
    }

    const std::filesystem::path collected = folder / std::filesystem::u8path(name + "_QECOLLECT.MID");
    std::error_code ec;
    if (!yesToAll && std::filesystem::exists(collected, ec)) {
        switch (port_->ConfirmOverwrite(collected)) {
        case StyAnswer::Cancel:
            return -1;
        case StyAnswer::No:
            return 0;
        case StyAnswer::YesToAll:
            yesToAll = true;
            break;
        case StyAnswer::Yes:
            break;
        }
    }
    bool all = !present.empty();
    std::vector<std::filesystem::path> written;
    for (const auto& [e, cv] : present) {
        if (info.CreateMidiFromQeCvOrTrack(e, cv, 255, cvFile("_tmp_", e, cv), 0))
            written.push_back(cvFile("_tmp_", e, cv));
        else
            all = false;
    }
    QeCollectStyleInfo styleInfo = QeCollectStyleInfo::FromStyleInfo(info);
    styleInfo.twelveElements = elements == 12;
    std::ofstream log(folder / CQeMidiCollect::kLogFileName, std::ios::binary | std::ios::trunc);
    const CvCollectResult result = CollectQeCvMidi(folder / std::filesystem::u8path(name + "_tmp_V11.MID"),
                                                   settings_.qeCollect, log ? &log : nullptr, &styleInfo);
    log.close();
    for (const auto& file : written)
        std::filesystem::remove(file, ec);
    return all && result.code == 0 ? 1 : 0;
}

// ---- Saving -------------------------------------------------------------

std::vector<uint8_t> CZibPadDoc::BuildFileImage()
{
    UlrfContainerPtr container(_ULRFCreateInstance(nullptr, 0));
    const int bank = m_FirstBank >= 0 ? m_FirstBank : 20;
    int entries = 0;
    for (int p = 0; p < PadCount(); ++p) {
        const CQePadItem& pad = m_PadItems[size_t(p)];
        if (pad.Size() == 0) continue;
        UlrfResInstancePtr resource(_ULRFCreateResInstance(pad.data.data(), uint32_t(pad.data.size())));
        const int i = resource && container ? _ULRFInsertResource(container.get(), -1, resource.get()) : -1;
        if (i < 0) {
            Notify(StyNotice::Numbered(stymsg::IncorrectFormatWhileSaving));
            return {};
        }
        const std::string name = pad.NameText();
        _ULRFModifyIndex(container.get(), i, name.c_str(), bank, p);
        ++entries;
    }
    if (entries == 0) {
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
