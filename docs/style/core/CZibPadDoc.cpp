#include "docs/style/core/CZibPadDoc.h"

#include "docs/style/core/CQeStyBank.h"
#include "docs/style/core/DasfIndex.h"
#include "docs/style/core/ItemBuilders.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "midi/ValueTexts.h"
#include "platform/Cp1252.h"
#include "platform/FileIo.h"
#include "styles/CQeStyleInfo.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>

namespace zib {

namespace {

constexpr uintmax_t kMaxItemFile = uintmax_t(64) << 20;

std::string upper(std::string text)
{
    for (char& c : text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::vector<int> rowsToMark(std::span<const int> selected, int focused, int count)
{
    std::set<int> rows;
    for (int r : selected)
        if (r >= 0 && r < count) rows.insert(r);
    if (rows.empty() && focused >= 0 && focused < count) rows.insert(focused);
    return std::vector<int>(rows.begin(), rows.end());
}

void setTrimmedName(CItemInfo& item, const std::array<char, 18>& name)
{
    item.SetName(std::string_view(name.data(), name.size()));
    ConvertItemName(item.name, 'F', 1);
}

// The pad's name as part of a file name (UTF-8 for the file system).
std::string fileNameOf(const CItemInfo& item)
{
    std::string name = item.NameText();
    MakeValidFileName(name);
    return cp1252ToUtf8(name);
}

} // namespace

void CZibPadDoc::Notify(StyNotice notice) const
{
    if (notices_) notices_(notice);
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
    if (m_FirstBank < 0) m_FirstBank = 20;
    return m_FirstBank;
}

// ---- Opening ------------------------------------------------------------

uint32_t CZibPadDoc::CheckExtension(const std::string& path)
{
    if (path.size() < 4) return 0;
    return upper(path.substr(path.size() - 4)) == ".PAD" ? 5 : 0;
}

bool CZibPadDoc::OpenImage(std::vector<uint8_t> image, const std::string& path)
{
    Clear();
    m_Path = path;
    m_Folder = std::filesystem::path(path).parent_path().string();
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
    if (!container) return 0;
    m_Model = bank.GetModelCode();
    const int max = bank.GetMaxPosition();
    for (int p = 0; p <= max; ++p) {
        CQePadItem pad;
        const int r = bank.FindByPosition(p);
        if (r < 0) {
            pad.model = 'X';
            pad.SetName(kEmptyName);
            pad.resourceIndex = -1;
            pad.bank = 20;
            pad.bankPosition = -1;
            pad.version = 1;
            pad.release = 0;
        } else {
            if (!GetQEItem(pad, container.get(), r, 9, notices_)) {
                m_PadItems.clear();
                return 0;
            }
            const QeBankEntry& e = bank.entries[size_t(r)];
            pad.SetName(std::string_view(e.name.data(), e.name.size()));
            pad.resourceIndex = e.resourceIndex;
            pad.bank = e.bank;
            pad.bankPosition = e.position;
            if (m_FirstBank < 0) m_FirstBank = e.bank;
        }
        pad.position = uint32_t(p);
        ConvertItemName(pad.name, m_Model, 1);
        pad.kind = 9;
        m_PadItems.push_back(std::move(pad));
    }
    container.reset();
    if (bank.changed)
        Notify(StyNotice::Text(
            "Found data resources with incorrect bank/position !!!\n\nParsing function rearranged data resources "
            "trying to display all valid style items\nYou must be aware that displayed item order does not "
            "correspond to what is\nfound inside original file. When saving file, new (rearranged) order will be "
            "saved!!!",
            {}, "ParseQESty", StyNoticeIcon::Exclamation));
    const bool anyX = std::any_of(m_PadItems.begin(), m_PadItems.end(), [](const CQePadItem& p) { return p.model == 'X'; });
    if (anyX || m_PadItems.size() >= 17) m_Model = 'X';
    return 1;
}

// ---- Item commands ------------------------------------------------------

int CZibPadDoc::OnEditDelete(std::span<const int> selected, int focused)
{
    const std::vector<int> rows = rowsToMark(selected, focused, PadCount());
    if (rows.empty()) return 1;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        m_PadItems.erase(m_PadItems.begin() + *it);
    Renumber();
    SetModified();
    return 1;
}

int CZibPadDoc::OnEditEmpty(std::span<const int> selected, int focused)
{
    const std::vector<int> rows = rowsToMark(selected, focused, PadCount());
    if (rows.empty()) return 1;
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
    return 1;
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
                               {std::to_string(index), std::to_string(int(error))}, "ExtractItem",
                               StyNoticeIcon::Stop));
        return 0;
    }
    return 1;
}

CZibPadDoc::ImportOutcome CZibPadDoc::ImportItems(const std::vector<std::string>& paths)
{
    ImportOutcome outcome;
    if (PadCount() >= kItemLimit) {
        Notify(StyNotice::Numbered(stymsg::InsertionLimit, "ImportItem"));
        return outcome;
    }
    m_Importing = true;
    for (const std::string& path : paths) {
        if (PadCount() >= kItemLimit) {
            Notify(StyNotice::Numbered(stymsg::InsertionLimit, "ImportItem"));
            break;
        }
        const std::string ext = upper(std::filesystem::path(path).extension().string());
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

int CZibPadDoc::ImportPad(const std::string& path)
{
    static constexpr const char* kCaption = "ImportPad";
    std::vector<uint8_t> file;
    const FileIoError error = readWholeFile(path, file, kMaxItemFile);
    if (error == FileIoError::OpenFailed) {
        Notify(StyNotice::Text("Cannot open file - %d", {std::to_string(int(error))}, kCaption, StyNoticeIcon::Stop));
        return 0;
    }
    if (error != FileIoError::None) {
        Notify(StyNotice::Numbered(stymsg::GetFileSizeFailed, kCaption, StyNoticeIcon::Stop));
        return 0;
    }
    if (file.size() < 5 || std::string_view(reinterpret_cast<const char*>(file.data()), 4) != "DASK" ||
        (file[4] != 'F' && file[4] != 'X')) {
        Notify(StyNotice::Numbered(stymsg::ImportNotExpectedFormat, kCaption, StyNoticeIcon::Stop));
        return 0;
    }
    const uint32_t letter = file[4];
    m_ImportLetter = letter;
    const size_t headerSize = letter == 'X' ? QeItemSizeHeader::kSize : QeItemSizeHeader::kOldSize;
    if (file.size() < 5 + headerSize) {
        Notify(StyNotice::Text(letter == 'X' ? "Error reading QE9Z item header data - %d"
                                             : "Error reading QE4K item header data - %d",
                               {"0"}, kCaption, StyNoticeIcon::Stop));
        return 0;
    }
    const QeItemSizeHeader header =
        QeItemSizeHeader::Read(std::span<const uint8_t>(file).subspan(5, headerSize), letter == 'F');
    if (letter == 'X' && m_Model == 'F' && int32_t(header.stsVersion) > 0) {
        Notify(StyNotice::Text("Cannot import QE9Z pad: %s, into QE4K file!!!", {path}, kCaption, StyNoticeIcon::Stop));
        return 1;
    }
    if (header.styleSize > file.size() - 5 - headerSize) {
        Notify(StyNotice::Numbered(stymsg::WrongBytesRead, kCaption, StyNoticeIcon::Stop));
        return 0;
    }
    if (m_Model == ' ' || PadCount() == 0) m_Model = letter;

    CQePadItem pad;
    const auto data = std::span<const uint8_t>(file).subspan(5 + headerSize, header.styleSize);
    pad.data.assign(data.begin(), data.end());
    pad.position = uint32_t(PadCount());
    pad.model = letter;
    if (letter == 'X') {
        pad.version = header.styleVersion;
        pad.release = header.styleRelease;
    }
    if (m_Model == 'X') {
        pad.model = letter == 'X' && pad.version != 0 ? 'X' : 'F';
    } else if (letter == 'X' && pad.version != 0) {
        Notify(StyNotice::Numbered(stymsg::Qe9zIntoQe4k, kCaption, StyNoticeIcon::Stop));
        return 0;
    } else {
        pad.model = 'F';
    }
    setTrimmedName(pad, header.styleName);
    pad.kind = 9;
    if (pad.Size() == 0) {
        pad.resourceIndex = pad.bankPosition = -1;
        pad.bank = 20;
    } else {
        pad.resourceIndex = pad.bankPosition = int32_t(pad.position);
        pad.bank = BankForNewItems();
        if (!AddSoundInfo(pad)) {
            Notify(StyNotice::Numbered(stymsg::CannotAddSoundInfo, kCaption, StyNoticeIcon::Stop));
            return 0;
        }
    }
    m_PadItems.push_back(std::move(pad));
    return 1;
}

// ---- List operations ----------------------------------------------------

bool CZibPadDoc::MoveItem(int direction, int row)
{
    const int target = row + direction;
    if (row < 0 || row >= PadCount() || target < 0 || target >= PadCount()) return false;
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
    SetModified();
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
    pad.SetName(text.substr(0, 18));
    ConvertItemName(pad.name, m_Model, 1);
    SetModified();
    return true;
}

void CZibPadDoc::SetBank(int bank)
{
    m_FirstBank = bank;
    for (CQePadItem& pad : m_PadItems)
        if (pad.Size()) pad.bank = bank;
    SetModified();
}

// ---- Clipboard and drag-drop --------------------------------------------

std::optional<StyClipboardBlock> CZibPadDoc::CopyBlock(std::span<const int> selected) const
{
    const std::vector<int> rows = rowsToMark(selected, -1, PadCount());
    if (rows.empty() || rows.size() > StyClipboardBlock::kMaxItems) return std::nullopt;
    StyClipboardBlock block;
    block.model = uint8_t(m_Model);
    block.fileKind = 5;
    block.selector = 1;
    block.contentCode = StyClipboardBlock::kPads;
    for (int r : rows)
        block.parts.push_back(StyClipboardBlock::PadPart(m_PadItems[size_t(r)]));
    return block;
}

bool CZibPadDoc::AcceptsBlock(const StyClipboardBlock& block) const
{
    return block.fileKind == m_FileKind && block.contentCode == StyClipboardBlock::kPads && block.model == 'X';
}

int CZibPadDoc::PastePadItem(const StyClipboardBlock& block, int index)
{
    static constexpr const char* kCaption = "PastePadItem";
    if (block.model != 'X' || index < 0 || uint32_t(index) >= block.Count()) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, kCaption));
        return -1;
    }
    const auto part = StyClipboardBlock::ReadQePart(block.parts[size_t(index)]);
    if (!part) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, kCaption));
        return -1;
    }
    if (m_Model == ' ' || PadCount() == 0) m_Model = 'X';
    CQePadItem pad;
    pad.data.assign(part->style.begin(), part->style.end());
    pad.position = uint32_t(PadCount());
    pad.kind = 9;
    pad.version = part->header.styleVersion;
    pad.release = part->header.styleRelease;
    pad.model = pad.version ? 'X' : 'F';
    if (pad.Size() == 0) {
        pad.resourceIndex = pad.bankPosition = -1;
        pad.bank = 20;
    } else {
        pad.resourceIndex = pad.bankPosition = int32_t(pad.position);
        pad.bank = BankForNewItems();
        if (!AddSoundInfo(pad)) {
            Notify(StyNotice::Numbered(stymsg::CannotAddSoundInfo, kCaption));
            return -1;
        }
    }
    setTrimmedName(pad, part->header.styleName);
    m_PadItems.push_back(std::move(pad));
    return 0;
}

CZibPadDoc::PasteOutcome CZibPadDoc::OnEditPaste(const StyClipboardBlock& block)
{
    PasteOutcome out;
    if (block.fileKind != m_FileKind || block.contentCode != StyClipboardBlock::kPads) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardType, "OnEditPaste"));
        return out;
    }
    if (block.model != 'X') {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, "OnEditPaste"));
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
        if (result != 0) {
            stopped = true;
            break;
        }
        out.rows.push_back(PadCount() - 1);
    }
    if (!stopped && i < block.Count())
        Notify(StyNotice::Text("MAX ITEM NUM reached. Pasted %d items from clipboard",
                               {std::to_string(out.rows.size())}, "OnEditPaste"));
    if (!out.rows.empty()) SetModified();
    return out;
}

CZibPadDoc::PasteOutcome CZibPadDoc::DropBlock(const StyClipboardBlock& block, int dropRow, bool fromThisView,
                                               bool moveEffect, std::span<const int> draggedRows)
{
    PasteOutcome out;
    const std::vector<int> dragged = rowsToMark(draggedRows, -1, PadCount());
    if (fromThisView && dropRow >= 0 && !dragged.empty() && dropRow >= dragged.front() &&
        dropRow <= dragged.back()) {
        Notify(StyNotice::Numbered(stymsg::CannotMoveInsideBlock, "OnDrop"));
        return out;
    }
    if (block.fileKind != m_FileKind || block.model != 'X') return out;
    uint32_t i = 0;
    bool stopped = false;
    for (; i < block.Count() && PadCount() < kItemLimit; ++i) {
        if (PastePadItem(block, int(i)) != 0) {
            stopped = true;
            break;
        }
        out.rows.push_back(PadCount() - 1);
    }
    if (!stopped && i < block.Count())
        Notify(StyNotice::Text("MAX ITEM NUM reached. Pasted %d items from clipboard",
                               {std::to_string(out.rows.size())}, "OnDrop"));
    if (out.rows.empty()) return out;
    const int pasted = int(out.rows.size());
    const bool draggedAway = moveEffect && fromThisView;
    if (draggedAway) OnEditDelete(dragged, -1);
    int first = PadCount() - pasted;
    if (dropRow >= 0) {
        int target = dropRow;
        if (draggedAway && dropRow > dragged.back()) target = dropRow + 1 - int(dragged.size());
        target = std::clamp(target, 0, first);
        for (int j = 0; j < pasted; ++j)
            for (int row = first + j; row > target + j; --row)
                MoveItem(-1, row);
        first = target;
    }
    out.rows.clear();
    for (int j = 0; j < pasted; ++j)
        out.rows.push_back(first + j);
    Renumber();
    SetModified();
    return out;
}

// ---- Pad To MIDI --------------------------------------------------------

int CZibPadDoc::OnUtilPadToMidi(std::span<const int> rows, const std::filesystem::path& folder,
                                const PadToMidiSettings& settings, const OverwriteQuestion& ask)
{
    m_Folder = folder.string();
    const std::vector<int> chosen = rowsToMark(rows, -1, PadCount());
    int converted = 0;
    bool yesToAll = false;
    for (int r : chosen) {
        const CQePadItem& pad = m_PadItems[size_t(r)];
        if (pad.Size() == 0) continue;
        const int result = PadToMidi(pad, folder, settings, ask, yesToAll);
        if (result < 0) break;
        converted += result;
    }
    Notify(StyNotice::Text("Successfully converted %d pads of %d selected",
                           {std::to_string(converted), std::to_string(chosen.size())}, "DumpStyleToMidi"));
    return converted;
}

int CZibPadDoc::PadToMidi(const CQePadItem& pad, const std::filesystem::path& folder,
                          const PadToMidiSettings& settings, const OverwriteQuestion& ask, bool& yesToAll)
{
    CQeStyleInfo info(pad.data);
    const int elements = pad.version != 0 ? 12 : 10;
    const std::string name = fileNameOf(pad);
    auto cvFile = [&](const std::string& middle, int e, int cv) {
        return folder / (name + middle + GetQeElementShortName(e) + char('1' + cv) + ".mid");
    };
    std::vector<std::pair<int, int>> present;
    for (int e = 0; e < elements; ++e)
        for (int cv = 0; cv < (e < 4 ? 6 : 2); ++cv)
            if (info.HasChordVar(e, cv)) present.emplace_back(e, cv);

    if (settings.styToMidiType != 0) {
        int last = 0;
        for (const auto& [e, cv] : present)
            last = info.CreateMidiFromQeCvOrTrack(e, cv, 255, cvFile("_", e, cv), 0);
        if (const auto& message = info.GetLastMessage(); message && !last)
            Notify(StyNotice::Text(message->text, {}, message->caption, StyNoticeIcon::Stop));
        return last ? 1 : 0;
    }

    const std::filesystem::path collected = folder / (name + "_QECOLLECT.MID");
    std::error_code ec;
    if (!yesToAll && std::filesystem::exists(collected, ec) && ask) {
        switch (ask(collected)) {
        case OverwriteAnswer::Cancel:
            return -1;
        case OverwriteAnswer::No:
            return 0;
        case OverwriteAnswer::YesToAll:
            yesToAll = true;
            break;
        case OverwriteAnswer::Yes:
            break;
        }
    }
    std::vector<std::filesystem::path> written;
    for (const auto& [e, cv] : present)
        if (info.CreateMidiFromQeCvOrTrack(e, cv, 255, cvFile("_tmp_", e, cv), 0))
            written.push_back(cvFile("_tmp_", e, cv));
    QeCollectStyleInfo styleInfo = QeCollectStyleInfo::FromStyleInfo(info);
    styleInfo.twelveElements = elements == 12;
    std::ofstream log(folder / (std::string("CollectQeCVMidi.txt")), std::ios::binary | std::ios::trunc);
    const CvCollectResult result =
        CollectQeCvMidi(folder / (name + "_tmp_V11.MID"), settings.collect, log ? &log : nullptr, &styleInfo);
    log.close();
    for (const auto& file : written)
        std::filesystem::remove(file, ec);
    return result.code == 0 ? 1 : 0;
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
        _ULRFModifyIndex(container.get(), i, name.c_str(), pad.bank >= 0 ? pad.bank : bank, p);
        ++entries;
    }
    if (entries == 0) {
        Notify(StyNotice::Numbered(16));
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
