#include "docs/style/core/CZibPadDoc.h"

#include "docs/style/core/CQeStyBank.h"
#include "docs/style/core/DasfIndex.h"
#include "docs/style/core/ItemBuilders.h"
#include "docs/style/core/ItemDocSteps.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "docs/style/core/WqStyleItemConversion.h"
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

void CZibPadDoc::Clear()
{
    CZibItemDoc::Clear();
    m_PadItems.clear();
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

bool CZibPadDoc::ReadFileImage(const std::string&)
{
    return CheckHeader() && ParseQESty();
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

// ---- Item commands ------------------------------------------------------

int CZibPadDoc::DeleteSelectedItems(std::span<const int> selected, int focused)
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

bool CZibPadDoc::EmptyItems(std::span<const int> selected, int focused)
{
    const std::vector<int> rows = RowsToMark(selected, focused, PadCount());
    if (rows.empty()) return true;
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
    return true;
}

int CZibPadDoc::ImportPad(const std::filesystem::path& path)
{
    static constexpr const char* kCaption = "ImportPad";
    const auto bytes = ReadDaskItemFile(path, kCaption);
    if (!bytes) return 0;
    const std::vector<uint8_t>& file = *bytes;
    if (file[4] != 'F' && file[4] != 'X')
        return Stop(StyNotice::Numbered(stymsg::ImportNotExpectedFormat, kCaption));
    const uint32_t letter = file[4];
    m_ImportLetter = letter;
    const size_t headerSize = letter == 'X' ? QeItemSizeHeader::kSize : QeItemSizeHeader::kOldSize;
    if (file.size() < 5 + headerSize)
        return Stop(StyNotice::Text(letter == 'X' ? "Error reading QE9Z item header data - %d"
                                                  : "Error reading QE4K item header data - %d",
                                    {FileErrorCode(FileIoError::ReadFailed)}, kCaption));
    const QeItemSizeHeader header =
        QeItemSizeHeader::Read(std::span<const uint8_t>(file).subspan(5, headerSize), letter == 'F');
    if (letter == 'X' && m_Model == 'F' && int32_t(header.stsVersion) > 0) {
        Stop(StyNotice::Text("Cannot import QE9Z pad: %s, into QE4K file!!!", {Utf8Text(path)}, kCaption));
        return 1;
    }
    // The header's size is checked against the file before anything is copied.
    if (header.styleSize > file.size() - 5 - headerSize)
        return Stop(StyNotice::Numbered(stymsg::WrongBytesRead, kCaption));
    // A pad item file without data would be listed but not saved: refused as a bad item.
    if (header.styleSize == 0) return Stop(StyNotice::Numbered(stymsg::ImportNotExpectedFormat, kCaption));

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
        return Stop(StyNotice::Numbered(stymsg::Qe9zIntoQe4k, kCaption));
    } else {
        pad.model = 'F';
    }
    ImportGoesAhead();
    const auto data = std::span<const uint8_t>(file).subspan(5 + headerSize, header.styleSize);
    pad.data.assign(data.begin(), data.end());
    setTrimmedName(pad, header.styleName);
    pad.kind = 9;
    const bool wasEmpty = m_Model == ' ' || PadCount() == 0;
    pad.resourceIndex = pad.bankPosition = int32_t(pad.position);
    if (!AddSoundInfo(pad)) return Stop(StyNotice::Numbered(stymsg::CannotAddSoundInfo, kCaption));
    if (wasEmpty) {
        m_Model = letter;
        Tell(StyViewNotice::ColumnsRebuilt);
    }
    pad.bank = BankForNewItems();
    m_PadItems.push_back(std::move(pad));
    Tell(StyViewNotice::RowAdded, PadCount() - 1);
    return 1;
}

// ---- List operations ----------------------------------------------------

int CZibPadDoc::RenameLimit(int row) const
{
    if (row < 0 || row >= PadCount() || m_PadItems[size_t(row)].Size() == 0) return 0;
    return 18;
}

bool CZibPadDoc::RenameItem(int row, std::string_view text)
{
    if (RenameLimit(row) == 0 || !IsQe()) return false;
    CQePadItem& pad = m_PadItems[size_t(row)];
    if (RenameKeepsName(pad, text, m_Model)) return true;
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

std::optional<StyClipboardBlock> CZibPadDoc::CopyBlock(std::span<const int> selected, int) const
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

bool CZibPadDoc::AcceptsDrop(const StyClipboardBlock& block) const
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
        return kStyConvertRefused;
    }
    const auto part = StyClipboardBlock::ReadQePart(block.parts[size_t(index)]);
    if (!part) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, kCaption));
        return kStyConvertRefused;
    }
    // A Qe9z pad does not go into a Qe4k pad file; the paste goes on.
    if (m_Model == 'F' && PadCount() > 0 && part->header.styleVersion != 0) {
        Notify(StyNotice::Numbered(stymsg::Qe9zIntoQe4k, kCaption));
        return kStyConvertFailedSaid;
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
        return kStyConvertRefused;
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
    return kStyConvertOk;
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
    out = PasteItems(block, caption);
    if (!out.rows.empty()) {
        SetModified();
        Tell(StyViewNotice::RowsChanged);
    }
    return out;
}

// ---- Pad To MIDI --------------------------------------------------------

int CZibPadDoc::OnUtilPadToMidi()
{
    if (PadCount() == 0 || m_FileKind != 5) return 0;
    const auto folder = ChooseDestinationFolder();
    if (!folder) return 0;
    m_Folder = *folder;
    return PadsToMidi(port_->SelectedRows(), *folder);
}

int CZibPadDoc::PadsToMidi(std::span<const int> rows, const std::filesystem::path& folder)
{
    return ExportRowsToMidi(rows, "Successfully converted %d pads of %d selected", [&](int row, bool& yesToAll) {
        const CQePadItem& pad = m_PadItems[size_t(row)];
        return pad.Size() == 0 ? 0 : PadToMidi(pad, folder, yesToAll);
    });
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
    std::vector<QeContainerEntry> entries;
    for (int p = 0; p < PadCount(); ++p)
        if (m_PadItems[size_t(p)].Size() != 0) entries.push_back({&m_PadItems[size_t(p)], p});
    return BuildQeContainerImage(entries, m_FirstBank >= 0 ? m_FirstBank : 20);
}

// ---- What the item commands ask of a pad file ---------------------------

CZibItemDoc::ItemFileTexts CZibPadDoc::ItemFiles() const
{
    return {"Import Pads", "Zib Pad Files (*.ZPF)|*.ZPF||", "ZPF"};
}

std::vector<uint8_t> CZibPadDoc::ItemFileBytes(int index) const
{
    return PadItemFileBytes(m_Model, m_PadItems[size_t(index)]);
}

int CZibPadDoc::ImportItemFile(const std::filesystem::path& path)
{
    const std::string ext = UpperAscii(Utf8Text(path.extension()));
    if (ext != ".ZPF") {
        Notify(StyNotice::Text("Error: Not ZPF file type: %s", {ext.empty() ? ext : ext.substr(1)}, "ImportItem"));
        return 0;
    }
    return ImportPad(path);
}

void CZibPadDoc::SwapRows(int a, int b)
{
    SwapItemContent(m_PadItems[size_t(a)], m_PadItems[size_t(b)]);
}

} // namespace zib
