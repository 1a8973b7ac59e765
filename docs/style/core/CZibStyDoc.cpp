#include "docs/style/core/CZibStyDoc.h"

#include "docs/style/core/CQeStyBank.h"
#include "docs/style/core/DasfIndex.h"
#include "docs/style/core/ItemBuilders.h"
#include "docs/style/core/ItemDocSteps.h"
#include "docs/style/core/Qe9zToQe4k.h"
#include "docs/style/core/StyListModel.h"
#include "docs/style/core/StyReports.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "docs/style/core/WqEmptyStyle.h"
#include "docs/style/core/WqStyleItemConversion.h"
#include "midi/ValueTexts.h"
#include "platform/ByteCursor.h"
#include "platform/Cp1252.h"
#include "platform/FileIo.h"
#include "styles/CMidiToWqStyImporter.h"
#include "styles/CWqStyleWriter.h"
#include "styles/WqStyleLayout.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace zib {

namespace {

constexpr size_t kWqHeadA = 96;
constexpr size_t kWqHeadB = 224;
constexpr uintmax_t kMaxProgramFile = uintmax_t(1) << 20;

uint16_t get16(std::span<const uint8_t> d, size_t at)
{
    return at + 1 < d.size() ? uint16_t(d[at] | d[at + 1] << 8) : 0;
}

void put16(std::vector<uint8_t>& d, size_t at, uint16_t v)
{
    d[at] = uint8_t(v);
    d[at + 1] = uint8_t(v >> 8);
}

// The first `width` bytes of the data as the item's name, trimmed.
void nameFromData(CStyItem& item, uint32_t model)
{
    const size_t width = IsWqFamilyB(model) ? 16 : 10;
    item.name.fill('\0');
    std::memcpy(item.name.data(), item.data.data(), std::min(width, item.data.size()));
    ConvertItemName(item.name, model, 1);
}

void setTrimmedName(CItemInfo& item, const std::array<char, 18>& name, uint32_t model)
{
    item.SetName(std::string_view(name.data(), name.size()));
    ConvertItemName(item.name, model, 1);
}

// The placeholder size of a Wq layout: an item of this size or smaller is empty.
size_t wqPlaceholderSize(uint32_t model)
{
    return IsWqFamilyB(model) ? 1176 : 1168;
}

} // namespace

bool CZibStyDoc::IsWq() const
{
    return IsWqModel(m_Model);
}

StyleDocumentNames CZibStyDoc::ProgramNameSource() const
{
    return {int(m_Model), int(m_FileKind), m_UserNamesPresent != 0,
            std::span<const std::array<char, 17>>(m_UserProgNames)};
}

void CZibStyDoc::Clear()
{
    CZibItemDoc::Clear();
    m_StyItems.clear();
    m_StsItems.clear();
    m_ViewMode = 1;
    m_Head.clear();
    m_UserProgNames = {};
    m_UserNamesPresent = 0;
    m_PasteSource = 0;
    m_PasteRunning = false;
}

// ---- Opening ------------------------------------------------------------

uint32_t CZibStyDoc::FileKindOf(const std::string& path)
{
    if (path.size() < 4) return 0;
    return UpperAscii(path.substr(path.size() - 4)) == ".STY" ? 2 : 0;
}

bool CZibStyDoc::ReadFileImage(const std::string& path)
{
    if (!HeadTest() || !ParseSty()) return false;
    GetUserProgNames(path);
    m_ViewMode = 1;
    return true;
}

bool CZibStyDoc::HeadTest()
{
    const std::span<const uint8_t> image(m_FileImage);
    if (image.size() >= 5 && std::memcmp(image.data(), "DASK", 4) == 0) {
        m_Model = image[4];
        if (IsWqModel(m_Model)) return true;
        if (IsDasfContainer(image)) {
            m_Model = 'F';
            return true;
        }
        m_Model = ' ';
        Notify(StyNotice::Numbered(stymsg::FormatNotSupported));
        return false;
    }
    if (IsDasfContainer(image)) {
        m_Model = 'F';
        return true;
    }
    Notify(StyNotice::Numbered(stymsg::NotDaskOrNotSupported));
    return false;
}

int CZibStyDoc::ParseSty()
{
    const std::span<const uint8_t> image(m_FileImage);
    if (IsWq()) {
        const bool familyB = IsWqFamilyB(m_Model);
        const size_t head = familyB ? kWqHeadB : kWqHeadA;
        const auto badSize = [this] {
            Notify(StyNotice::Numbered(stymsg::BadFileSize, "ParseSty"));
            m_StyItems.clear();
            return 0;
        };
        if (image.size() <= head) return badSize();
        m_Head.assign(image.begin(), image.begin() + ptrdiff_t(head));
        size_t at = head;
        const int slots = WqStyleSlots(m_Model);
        for (int k = 0; k < slots; ++k) {
            const uint16_t size = familyB ? get16(image, 24 + 4 * size_t(k)) : get16(image, 76 + 6 * size_t(k));
            if (size == 0) {
                if (familyB) continue;
                break;
            }
            // A slot smaller than an empty style or past the end of the file
            // means a damaged file.
            if (size < wqPlaceholderSize(m_Model) || size > image.size() - at) return badSize();
            CStyItem item;
            if (!GetItem(item, image.subspan(at, size), m_Model, port_->Sink())) {
                m_StyItems.clear();
                return 0;
            }
            item.position = uint32_t(m_StyItems.size());
            m_StyItems.push_back(std::move(item));
            at += size;
        }
        return 1;
    }

    CQeStyBank bank;
    UlrfContainerPtr container = bank.Load(image);
    if (!container) {
        // A container without styles, or one the library cannot read.
        Notify(StyNotice::Numbered(stymsg::FormatNotSupported, "ParseSty"));
        return 0;
    }
    m_Model = bank.GetModelCode();
    const auto fail = [this](QeItemBuild result) {
        if (result == QeItemBuild::UnsupportedVersion) Notify(StyNotice::Numbered(stymsg::FormatNotSupported));
        m_StyItems.clear();
        m_StsItems.clear();
        return 0;
    };
    const int max = bank.GetMaxPosition();
    bool anyX = false;
    for (int p = 0; p <= max; ++p) {
        CStyItem item;
        const int r = bank.FindByPosition(p);
        if (r >= 0) {
            if (const QeItemBuild built = GetQEItem(item, container.get(), r, 2, port_->Sink());
                built != QeItemBuild::Built)
                return fail(built);
            const QeBankEntry& e = bank.entries[size_t(r)];
            setTrimmedName(item, e.name, 'F');
            item.resourceIndex = e.resourceIndex;
            item.bank = e.bank;
            item.bankPosition = e.position;
            if (m_FirstBank < 0) m_FirstBank = e.bank;
        } else {
            item = EmptyQeItem('F');
        }
        item.position = uint32_t(p);
        ConvertItemName(item.name, 'F', 1);
        item.kind = 2;
        if (item.model == 'X') anyX = true;
        m_StyItems.push_back(std::move(item));
    }

    for (size_t k = 0; k < m_StyItems.size(); ++k) {
        const CStyItem& style = m_StyItems[k];
        CStyItem sts;
        const int j = style.Size() ? bank.LinkOf(style.resourceIndex).stsSlot : -1;
        if (j >= 0) {
            const QeBankEntry& e = bank.stsEntries[size_t(j)];
            if (const QeItemBuild built = GetQEItem(sts, container.get(), j, 7, port_->Sink());
                built != QeItemBuild::Built)
                return fail(built);
            sts.version = e.headerWordA;
            sts.release = e.headerWordB;
            setTrimmedName(sts, e.name, 'F');
            if (bank.changed) {
                sts.resourceIndex = style.resourceIndex;
                sts.bank = style.bank;
                sts.bankPosition = style.bankPosition;
            } else {
                sts.resourceIndex = e.resourceIndex;
                sts.bank = e.bank;
                sts.bankPosition = e.position;
            }
        } else {
            sts = EmptyQeItem(m_Model, &style);
        }
        sts.position = uint32_t(k);
        ConvertItemName(sts.name, 'F', 1);
        sts.kind = 7;
        m_StsItems.push_back(std::move(sts));
    }
    container.reset();

    if (bank.changed) Notify(RearrangedNotice());
    if (!anyX && m_StyItems.size() >= 17) m_Model = 'X';
    return 1;
}

CStyItem CZibStyDoc::EmptyQeItem(uint32_t model, const CStyItem* from) const
{
    CStyItem item;
    item.model = model;
    item.SetName(kEmptyQeName);
    item.resourceIndex = from ? from->resourceIndex : -1;
    item.bank = from ? from->bank : -1;
    item.bankPosition = from ? from->bankPosition : -1;
    return item;
}

int CZibStyDoc::GetUserProgNames(const std::string& path)
{
    static constexpr const char* kCaption = "GetUserProgNames";
    m_UserProgNames = {};
    m_UserNamesPresent = 0;
    const std::filesystem::path file = std::filesystem::u8path(path);
    if (!file.has_extension()) return 0;
    // "<name>.prg" beside the file, the extension in any case.
    const std::string wanted = UpperAscii(file.stem().string() + ".prg");
    std::filesystem::path names;
    std::error_code ec;
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (UpperAscii(it->path().filename().string()) == wanted && it->is_regular_file(ec)) {
            names = it->path();
            break;
        }
    }
    if (names.empty()) return 0;
    std::vector<uint8_t> bytes;
    if (const FileIoError error = readWholeFile(names, bytes, kMaxProgramFile); error != FileIoError::None) {
        Notify(StyNotice::Text("Cannot open file - %d", {FileErrorCode(error)}, kCaption, StyNoticeIcon::Stop));
        return 0;
    }
    const std::string shortRead = FileErrorCode(FileIoError::ReadFailed);
    if (bytes.size() < 5) {
        Notify(StyNotice::Text("Error reading file format - %d", {shortRead}, kCaption, StyNoticeIcon::Stop));
        return 0;
    }
    const uint32_t letter = bytes[4];
    const bool match = (m_Model == '9' || m_Model == 'I' || m_Model == 'M') ? letter == m_Model
                       : (m_Model == '<' || m_Model == 'H')              ? (letter == m_Model || letter == '9')
                                                                         : false;
    if (!match) return 0;
    if (IsWqFamilyB(m_Model)) {
        if (bytes.size() < 48 + size_t(kUserPrograms) * 172) {
            Notify(StyNotice::Text("Error reading prog name - %d", {shortRead}, kCaption, StyNoticeIcon::Stop));
            return 0;
        }
        for (size_t k = 0; k < size_t(kUserPrograms); ++k)
            std::memcpy(m_UserProgNames[k].data(), bytes.data() + 48 + 172 * k, 16);
    } else {
        if (bytes.size() < 88 + 64 * 10) {
            Notify(StyNotice::Text("Error reading program names - %d", {shortRead}, kCaption, StyNoticeIcon::Stop));
            return 0;
        }
        for (size_t k = 0; k < 64; ++k)
            std::memcpy(m_UserProgNames[k].data(), bytes.data() + 88 + 10 * k, 10);
    }
    m_UserNamesPresent = 1;
    return 1;
}

// ---- Item commands ------------------------------------------------------

int CZibStyDoc::WqStyleSlots(uint32_t model)
{
    return IsWqFamilyB(model) ? (model == 'I' ? 48 : 16) : 4;
}

int CZibStyDoc::ItemLimit() const
{
    // A document without a model takes its first item's.
    return IsWq() ? WqStyleSlots(m_Model) : CQeBank::PositionLimit(2, true);
}

void CZibStyDoc::Renumber()
{
    for (size_t i = 0; i < m_StyItems.size(); ++i)
        m_StyItems[i].position = uint32_t(i);
    for (size_t i = 0; i < m_StsItems.size(); ++i)
        m_StsItems[i].position = uint32_t(i);
}

int CZibStyDoc::DeleteSelectedItems(std::span<const int> selected, int focused)
{
    if (StsView()) return 1;
    const std::vector<int> rows = RowsToMark(selected, focused, StyCount());
    if (rows.empty()) return 1;
    Tell(StyViewNotice::CloseToolWindows);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        m_StyItems.erase(m_StyItems.begin() + *it);
        if (IsQe() && *it < StsCount()) m_StsItems.erase(m_StsItems.begin() + *it);
    }
    Renumber();
    port_->SetSelection({}, -1);
    SetModified();
    Tell(StyViewNotice::RowsChanged);
    return 1;
}

void CZibStyDoc::EmptyStyItem(CStyItem& item, int index, bool sts)
{
    if (IsWq()) {
        item.data = WqEmptyStyleImage(m_Model, index);
        nameFromData(item, m_Model);
        return;
    }
    if (item.Size() == 0) return;
    item.data.clear();
    item.data.shrink_to_fit();
    item.SetName(kEmptiedQeName);
    ConvertItemName(item.name, 'F', 1);
    if (sts) item.model = 'F';
}

bool CZibStyDoc::EmptyItems(std::span<const int> selected, int focused)
{
    const bool stsView = StsView();
    const int count = stsView ? StsCount() : StyCount();
    const std::vector<int> rows = RowsToMark(selected, focused, count);
    if (rows.empty()) return true;
    Tell(StyViewNotice::CloseToolWindows);
    try {
        for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
            if (!stsView) EmptyStyItem(m_StyItems[size_t(*it)], *it, false);
            if (IsQe() && *it < StsCount()) EmptyStyItem(m_StsItems[size_t(*it)], *it, true);
        }
    } catch (const std::bad_alloc&) {
        Notify(StyNotice::Numbered(stymsg::MemoryAllocationFailed, "EmptyStyItem", StyNoticeIcon::Stop));
        Notify(StyNotice::Numbered(stymsg::FatalEmptying, "OnEditEmpty", StyNoticeIcon::Exclamation));
        AbortAndClear();
        return false;
    }
    SetModified();
    Tell(StyViewNotice::RowsChanged);
    return true;
}

int CZibStyDoc::ImportStyle(const std::filesystem::path& path)
{
    static constexpr const char* kCaption = "ImportStyle";
    const auto bytes = ReadDaskItemFile(path, kCaption);
    if (!bytes) return 0;
    const std::vector<uint8_t>& file = *bytes;
    const uint32_t letter = file[4];
    if (m_Model != ' ' && StyCount() > 0 && IsWq() && IsQeModel(letter))
        return Stop(StyNotice::Text("Cannot import QE-series style: %s, into wq-series file!!!", {Utf8Text(path)}, kCaption));

    ItemFileContent content;
    const ItemFileError read = ReadItemFile(file, true, content);
    const std::string shortRead = FileErrorCode(FileIoError::ReadFailed);
    switch (read) {
    case ItemFileError::None:
        break;
    case ItemFileError::NotExpectedFormat:
        return Stop(StyNotice::Numbered(stymsg::ImportNotExpectedFormat, kCaption));
    case ItemFileError::HeaderShort:
        return Stop(StyNotice::Text(letter == 'X' ? "Error reading QE9Z item header data - %d"
                                                  : "Error reading QE4K item header data - %d",
                                    {shortRead}, kCaption));
    default:
        // A Qe9z item for a Qe4k document is skipped whatever follows its header.
        if (!(letter == 'X' && m_Model == 'F' && content.header.stsVersion >= 1))
            return Stop(StyNotice::Numbered(stymsg::WrongBytesRead, kCaption));
        break;
    }
    if (letter == 'X' && m_Model == 'F' && content.header.stsVersion >= 1) {
        Stop(StyNotice::Text("Cannot import QE9Z style: %s, into QE4K file!!!", {Utf8Text(path)}, kCaption));
        return 1;
    }
    // A Qe item file without style data would be listed but not saved: refused as a bad item.
    if (IsQeModel(letter) && content.data.empty())
        return Stop(StyNotice::Numbered(stymsg::ImportNotExpectedFormat, kCaption));
    ImportGoesAhead();
    return ImportContent(path, content);
}

int CZibStyDoc::BankForNewItems()
{
    if (m_FirstBank < 0) m_FirstBank = 17;
    return m_FirstBank;
}

int CZibStyDoc::ImportContent(const std::filesystem::path&, const ItemFileContent& content)
{
    static constexpr const char* kCaption = "ImportStyle";
    const uint32_t letter = content.letter;
    const bool qeLetter = IsQeModel(letter);
    if (m_Model == ' ' || StyCount() == 0) {
        m_Model = letter;
        Tell(StyViewNotice::ColumnsRebuilt);
    }

    CStyItem item;
    item.data = content.data;
    item.position = uint32_t(StyCount());
    item.model = letter;
    if (letter == 'X') {
        item.version = content.header.styleVersion;
        item.release = content.header.styleRelease;
    }
    if (m_Model == 'X' && letter == 'X') {
        item.model = item.version > 0 ? 'X' : 'F';
    } else if (m_Model == 'F' && letter == 'X') {
        if (item.version != 0) {
            Notify(StyNotice::Numbered(stymsg::Qe9zIntoQe4k, kCaption, StyNoticeIcon::Stop));
            return 0;
        }
        item.model = 'F';
    }
    if (qeLetter)
        setTrimmedName(item, content.header.styleName, letter);
    else
        nameFromData(item, letter);
    if (qeLetter) {
        item.kind = 2;
        item.resourceIndex = item.bankPosition = int32_t(item.position);
        item.bank = BankForNewItems();
        if (!AddSoundInfo(item)) {
            Notify(StyNotice::Numbered(stymsg::CannotAddSoundInfo, kCaption, StyNoticeIcon::Stop));
            return 0;
        }
    }
    m_StyItems.push_back(std::move(item));
    const int index = StyCount() - 1;

    if (IsWqModel(letter) && letter != m_Model) {
        const std::string name = m_StyItems.back().NameText();
        const int result = ConvertItem(letter, m_Model, index);
        if (result == kStyConvertFatal) {
            AbortAndClear();
            return 0;
        }
        if (result != kStyConvertOk) {
            m_StyItems.pop_back();
            Notify(StyNotice::Numbered(stymsg::ErrorConvertingItem, kCaption, StyNoticeIcon::Stop));
            return 0;
        }
        if (IsQe()) {
            if (!RereadConvertedItem(m_StyItems.back(), name, kCaption)) {
                m_StyItems.pop_back();
                return 0;
            }
            CStyItem sts = EmptyQeItem('F', &m_StyItems.back());
            sts.kind = 7;
            sts.position = uint32_t(StsCount());
            m_StsItems.push_back(std::move(sts));
        }
    }
    Tell(StyViewNotice::RowAdded, index);

    if (qeLetter) {
        CStyItem sts;
        sts.data = content.sts;
        sts.position = uint32_t(StsCount());
        sts.model = letter;
        sts.version = content.header.stsVersion;
        sts.release = content.header.stsRelease;
        setTrimmedName(sts, content.header.stsName, letter);
        sts.kind = 7;
        sts.resourceIndex = sts.bankPosition = int32_t(sts.position);
        sts.bank = BankForNewItems();
        m_StsItems.push_back(std::move(sts));
    }
    return 1;
}

bool CZibStyDoc::RereadConvertedItem(CStyItem& item, const std::string& name, const char* caption)
{
    std::string entryName = name;
    MakeValidFileName(entryName);
    const std::vector<uint8_t> image = MakeOneResourceContainer(item.data, entryName);
    UlrfContainerPtr container(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    CStyItem fresh;
    if (!container || GetQEItem(fresh, container.get(), 0, 2, port_->Sink()) != QeItemBuild::Built) {
        Notify(StyNotice::Numbered(stymsg::ErrorConvertingItem, caption, StyNoticeIcon::Stop));
        return false;
    }
    fresh.position = item.position;
    fresh.resourceIndex = fresh.bankPosition = int32_t(item.position);
    fresh.bank = BankForNewItems();
    fresh.SetName(name);
    ConvertItemName(fresh.name, 'F', 1);
    fresh.kind = 2;
    item = std::move(fresh);
    return true;
}

// ---- Conversions --------------------------------------------------------

int CZibStyDoc::ConvertItem(uint32_t source, uint32_t target, int index)
{
    if (index < 0 || index >= StyCount()) return kStyConvertRefused;
    CStyItem& item = m_StyItems[size_t(index)];
    if (source == 'F') {
        if (target == 'F') return kStyConvertOk;
        if (target == 'X') return item.model == 'F' ? kStyConvertOk : kStyConvertRefused;
        return kStyConvertRefused;
    }
    if (source == 'X') return target == 'F' ? ConvertQe9zToQE4K(item, port_->Sink()) : kStyConvertRefused;
    if (!IsWqModel(source) || source == target) return kStyConvertRefused;
    if (IsQeModel(target)) return ConvertStyWQ8ToQE4K(item, source, port_->Sink());
    if (!IsWqModel(target)) return kStyConvertRefused;

    const bool fromB = IsWqFamilyB(source);
    const bool toB = IsWqFamilyB(target);
    int result = kStyConvertOk;
    // "Map programs again": the six track program words are mapped a second
    // time with the same pair after the layout step mapped them once.
    bool mapAgain = false;
    if (!fromB && !toB) {
        // '9', '<' and 'H' share layout A: a relabel.
    } else if (!fromB && toB) {
        result = source == 'H' && target == 'M' ? ConvertWQ8ToWqR65(item, index, source, target, port_->Sink())
                                                : ConvertStyWQ8ToWqR65(item, index, source, target, port_->Sink());
        mapAgain = source == '<' || (source == 'H' && target == 'I');
    } else if (fromB && !toB) {
        result = ConvertWqR65ToWQ8(item, source, target, port_->Sink());
        mapAgain = target == '<' || target == 'H';
    } else {
        if (ValidateWqImage(item.data.data(), item.data.size(), source) != WqImageError::None)
            return kStyConvertRefused;
        const std::array<uint8_t, 6> banks = WqTrackBanks(item.data, source);
        MapWqTrackPrograms(item.data, source, source, target);
        MapWqEventPrograms(item.data, source, source, target, banks);
    }
    if (result != kStyConvertOk) return result;
    if (mapAgain) MapWqTrackPrograms(item.data, target, source, target);
    item.model = target;
    return kStyConvertOk;
}

int CZibStyDoc::ReplaceWqTrackData(int index, std::span<const uint8_t> midi, int element, int cv, int track)
{
    if (!IsWq() || index < 0 || index >= StyCount() || !wq::isValidCv(element, cv) || !wq::isValidTrack(track))
        return 0;
    CStyItem& item = m_StyItems[size_t(index)];
    if (ValidateWqImage(item.data.data(), item.data.size(), m_Model) != WqImageError::None) return 0;
    const MidiToWqTrackImport imported = ImportMidiToWqTrack(midi, m_Model, track, 0);
    if (imported.code != 0) return 0;

    const bool familyB = IsWqFamilyB(m_Model);
    const size_t offsets = familyB ? 542 : 534;
    const int slot = wq::cvIndexOf(element, cv);
    const int entry = wq::trackSlotOf(element, cv, track);
    const size_t begin = get16(item.data, offsets + 2 * size_t(entry));
    const size_t end = get16(item.data, offsets + 2 * size_t(entry) + 2);
    const int64_t delta = int64_t(imported.events.size()) - int64_t(end - begin);
    // The offsets are 16-bit: an item that would outgrow them stays as it was.
    if (int64_t(item.data.size()) + delta > 0xFFFF) return 0;
    try {
        std::vector<uint8_t> data;
        data.reserve(size_t(int64_t(item.data.size()) + delta));
        data.insert(data.end(), item.data.begin(), item.data.begin() + ptrdiff_t(begin));
        data.insert(data.end(), imported.events.begin(), imported.events.end());
        data.insert(data.end(), item.data.begin() + ptrdiff_t(end), item.data.end());
        data[(familyB ? 71 : 63) + 2 * size_t(slot)] = uint8_t(imported.cvLength);
        for (int e = entry + 1; e < wq::kOffsetEntryCount; ++e) {
            const size_t at = offsets + 2 * size_t(e);
            put16(data, at, uint16_t(int64_t(get16(data, at)) + delta));
        }
        item.data.swap(data);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    SetModified();
    CheckFileSize(false);
    return 1;
}

uint32_t CZibStyDoc::GetQe9zToQe4kSize(std::span<const uint8_t> instance)
{
    return zib::GetQe9zToQe4kSize(instance);
}

int CZibStyDoc::BuildQe4kStyleChunk(std::span<const uint8_t> instance, std::span<uint8_t> out, uint32_t newLength)
{
    return zib::BuildQe4kStyleChunk(instance, out, newLength);
}

// ---- List operations ----------------------------------------------------

void CZibStyDoc::SwapRows(int a, int b)
{
    SwapItemContent(m_StyItems[size_t(a)], m_StyItems[size_t(b)]);
    if (IsQe() && a < StsCount() && b < StsCount()) SwapItemContent(m_StsItems[size_t(a)], m_StsItems[size_t(b)]);
}

int CZibStyDoc::RenameLimit(int row) const
{
    const std::vector<CStyItem>& items = StsView() ? m_StsItems : m_StyItems;
    if (row < 0 || row >= int(items.size())) return 0;
    if (IsQe()) return items[size_t(row)].Size() ? 18 : 0;
    return int(ItemNameWidth(m_Model));
}

bool CZibStyDoc::RenameItem(int row, std::string_view text)
{
    const int limit = RenameLimit(row);
    if (limit == 0) return false;
    text = text.substr(0, std::min(text.size(), size_t(limit)));
    if (RenameKeepsName(RowItem(row), text, IsWq() ? m_Model : 'F')) return true;
    if (IsWq()) {
        if (text.starts_with("InitStyle") || text.starts_with("empty")) {
            Notify(StyNotice::Numbered(stymsg::NameNotAllowed, "OnEndLabelEdit"));
            return false;
        }
        CStyItem& item = m_StyItems[size_t(row)];
        item.SetName(text);
        ConvertItemName(item.name, m_Model, 1);
        const std::string name = item.NameText();
        for (size_t i = 0; i < size_t(limit) && i < item.data.size(); ++i)
            item.data[i] = i < name.size() ? uint8_t(name[i]) : uint8_t(' ');
    } else {
        CStyItem& item = StsView() ? m_StsItems[size_t(row)] : m_StyItems[size_t(row)];
        item.SetName(text);
        ConvertItemName(item.name, 'F', 1);
    }
    SetModified();
    Tell(StyViewNotice::RowsChanged, row);
    return true;
}

void CZibStyDoc::SetBank(int bank)
{
    m_FirstBank = bank;
    for (auto* items : {&m_StyItems, &m_StsItems})
        for (CStyItem& item : *items)
            if (item.Size()) item.bank = bank;
    SetModified();
    Tell(StyViewNotice::RowsChanged);
}

void CZibStyDoc::ToggleViewMode()
{
    if (!IsQe()) return;
    m_ViewMode = m_ViewMode == 2 ? 1 : 2;
    Tell(StyViewNotice::ColumnsRebuilt);
    Tell(StyViewNotice::RowsChanged);
}

bool CZibStyDoc::CheckFileSize(bool check)
{
    const FileSizeCheck result = zib::CheckFileSize(*this, check);
    if (!result.select.empty()) {
        std::vector<int> rows = port_->SelectedRows();
        rows.insert(rows.end(), result.select.begin(), result.select.end());
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        port_->SetSelection(rows, port_->FocusedRow());
    }
    Tell(StyViewNotice::RowsChanged);
    if (!result.ok) Notify(result.notice);
    return result.ok;
}

// ---- Clipboard and drag-drop --------------------------------------------

std::optional<StyClipboardBlock> CZibStyDoc::CopyBlock(std::span<const int> selected, int focused) const
{
    StyClipboardBlock block;
    block.model = uint8_t(m_Model);
    block.fileKind = m_FileKind;
    block.selector = m_ViewMode;
    if (StsView()) {
        if (focused < 0 || focused >= StyCount() || focused >= StsCount()) return std::nullopt;
        const CStyItem& style = m_StyItems[size_t(focused)];
        const CStyItem& sts = m_StsItems[size_t(focused)];
        if (!style.Size() || !sts.Size()) return std::nullopt;
        block.contentCode = StyClipboardBlock::kStsItem;
        block.parts.push_back(StyClipboardBlock::StsPart(style, sts));
        return block;
    }
    const std::vector<int> rows = RowsToMark(selected, -1, StyCount());
    if (rows.empty()) return std::nullopt;
    // The head has 138 size slots.
    if (rows.size() > StyClipboardBlock::kMaxItems) {
        Notify(StyNotice::Numbered(stymsg::CannotCopyToClipboard, "CopyToClipboard", StyNoticeIcon::Exclamation));
        return std::nullopt;
    }
    if (IsQe()) block.contentCode = StyClipboardBlock::kQeStyles;
    for (int r : rows) {
        const CStyItem& style = m_StyItems[size_t(r)];
        if (IsQe())
            block.parts.push_back(
                StyClipboardBlock::QeStylePart(style, r < StsCount() ? &m_StsItems[size_t(r)] : nullptr));
        else
            block.parts.push_back(style.data);
    }
    return block;
}

void CZibStyDoc::OnEditPaste()
{
    if (StsView()) {
        const int focused = port_->FocusedRow();
        const std::vector<int> selected = port_->SelectedRows();
        if (focused < 0 || std::find(selected.begin(), selected.end(), focused) == selected.end()) return;
        if (focused >= StyCount() || m_StyItems[size_t(focused)].Size() == 0) return;
        if (const auto block = ReadClipboardBlock(*port_, "PasteOneQeStsItem")) PasteOneQeStsItem(*block, focused);
        return;
    }
    const auto block = ReadClipboardBlock(*port_, "OnEditPaste");
    if (!block || !AcceptsPaste(*block)) return;
    const PasteOutcome outcome = PasteBlock(*block, "OnEditPaste");
    if (outcome.fatal || outcome.rows.empty()) return;
    port_->SetSelection(outcome.rows, outcome.rows.front());
    CheckFileSize(false);
}

bool CZibStyDoc::AcceptsPaste(const StyClipboardBlock& block) const
{
    if (block.fileKind != m_FileKind) return false;
    const bool blockQe = IsQeModel(block.model);
    if (blockQe && (IsWq() || m_Model == ' ') && StyCount() > 0) return false;
    if (IsQe() && block.selector == 2) return false;
    return true;
}

bool CZibStyDoc::AcceptsDrop(const StyClipboardBlock& block) const
{
    if (block.fileKind != m_FileKind) return false;
    const bool blockQe = IsQeModel(block.model);
    if (IsQe() && (m_ViewMode == 2 || (blockQe && block.selector != m_ViewMode))) return false;
    if (IsWq() && StyCount() > 0 && blockQe) return false;
    return true;
}

CZibStyDoc::PasteOutcome CZibStyDoc::PasteBlock(const StyClipboardBlock& block, const char* caption)
{
    PasteOutcome out;
    // The whole block is checked first: a refused block changes nothing.
    const bool blockQe = IsQeModel(block.model);
    if (!blockQe && !IsWqModel(block.model)) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardFormat, caption));
        return out;
    }
    if (blockQe && block.contentCode != StyClipboardBlock::kQeStyles) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardFormat, caption));
        return out;
    }
    for (const auto& part : block.parts) {
        const bool fits = blockQe ? StyClipboardBlock::ReadQePart(part).has_value()
                                  : part.size() >= wqPlaceholderSize(block.model) && part.size() <= wq::kMaxStyleSize;
        if (!fits) {
            Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, caption));
            return out;
        }
    }
    m_PasteSource = block.model;
    m_PasteRunning = true;
    out = PasteItems(block, caption);
    m_PasteRunning = false;
    m_PasteSource = 0;
    if (!out.rows.empty()) {
        SetModified();
        Tell(StyViewNotice::RowsChanged);
    }
    return out;
}

int CZibStyDoc::PasteStyItem(const StyClipboardBlock& block, int index)
{
    static constexpr const char* kCaption = "PasteStyItem";
    if (index < 0 || uint32_t(index) >= block.Count()) return kStyConvertRefused;
    const std::vector<uint8_t>& part = block.parts[size_t(index)];
    const uint32_t letter = block.model;
    const bool blockQe = IsQeModel(letter);
    if (!blockQe && !IsWqModel(letter)) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardFormat, kCaption));
        return kStyConvertRefused;
    }
    if (!blockQe && (part.size() < wqPlaceholderSize(letter) || part.size() > wq::kMaxStyleSize)) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, kCaption));
        return kStyConvertRefused;
    }
    if (blockQe && IsWq() && StyCount() > 0) {
        Notify(StyNotice::Numbered(stymsg::QeIntoWq, kCaption));
        return kStyConvertRefused;
    }
    std::optional<StyClipboardBlock::QePart> qe;
    if (blockQe) {
        qe = StyClipboardBlock::ReadQePart(part);
        if (!qe) {
            Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, kCaption));
            return kStyConvertRefused;
        }
    }
    CStyItem item;
    if (blockQe)
        item.data.assign(qe->style.begin(), qe->style.end());
    else
        item.data = part;
    if (m_Model == ' ' || StyCount() == 0) {
        m_Model = letter;
        if (blockQe) Tell(StyViewNotice::ColumnsRebuilt);
    }
    item.position = uint32_t(StyCount());
    item.model = letter;
    if (blockQe)
        setTrimmedName(item, qe->header.styleName, letter);
    else
        nameFromData(item, letter);
    if (IsQe()) {
        item.kind = 2;
        if (blockQe) {
            item.version = qe->header.styleVersion;
            item.release = qe->header.styleRelease;
            item.model = item.version ? 'X' : 'F';
        }
        if (blockQe && item.Size() == 0) {
            // A copied empty row stays an empty row.
            item.resourceIndex = item.bankPosition = item.bank = -1;
        } else {
            item.resourceIndex = item.bankPosition = int32_t(item.position);
            item.bank = BankForNewItems();
            if (blockQe && !AddSoundInfo(item)) {
                Notify(StyNotice::Numbered(stymsg::CannotAddSoundInfo, kCaption));
                return kStyConvertRefused;
            }
        }
    }
    m_StyItems.push_back(std::move(item));
    const int row = StyCount() - 1;

    if (letter != m_Model && letter != 'F' && !(blockQe && m_StyItems.back().Size() == 0)) {
        if (letter == 'X' && m_Model == 'X') {
            Tell(StyViewNotice::RowAdded, row);
            return kStyConvertOk;
        }
        if (letter == 'X' && IsWq()) {
            m_StyItems.pop_back();
            Notify(StyNotice::Numbered(stymsg::ImportNotExpectedFormat, kCaption));
            return kStyConvertRefused;
        }
        const std::string name = m_StyItems.back().NameText();
        const int result = ConvertItem(letter, m_Model, row);
        if (result == kStyConvertFatal) return kStyConvertFatal;
        if (result != kStyConvertOk) {
            m_StyItems.pop_back();
            Notify(StyNotice::Numbered(stymsg::ErrorConvertingItem, kCaption));
            return result;
        }
        if (!blockQe && IsQe()) {
            if (!RereadConvertedItem(m_StyItems.back(), name, "ImportStyle")) {
                m_StyItems.pop_back();
                return kStyConvertRefused;
            }
            CStyItem sts = EmptyQeItem(m_Model, &m_StyItems.back());
            sts.kind = 7;
            sts.position = uint32_t(StsCount());
            m_StsItems.push_back(std::move(sts));
        }
    }
    Tell(StyViewNotice::RowAdded, row);
    return kStyConvertOk;
}

int CZibStyDoc::PasteQeStsItem(const StyClipboardBlock& block, int index)
{
    if (index < 0 || uint32_t(index) >= block.Count()) return kStyConvertRefused;
    const auto qe = StyClipboardBlock::ReadQePart(block.parts[size_t(index)]);
    CStyItem sts;
    if (qe) {
        if (qe->header.styleSize != 0 && qe->header.stsSize != 0) sts.data.assign(qe->sts.begin(), qe->sts.end());
        sts.version = qe->header.stsVersion;
        sts.release = qe->header.stsRelease;
        setTrimmedName(sts, qe->header.stsName, block.model);
    }
    sts.position = uint32_t(StsCount());
    sts.resourceIndex = sts.bankPosition = int32_t(sts.position);
    sts.model = block.model;
    sts.kind = 7;
    sts.bank = BankForNewItems();
    m_StsItems.push_back(std::move(sts));
    return kStyConvertOk;
}

bool CZibStyDoc::PasteOneQeStsItem(const StyClipboardBlock& block, int row)
{
    if (!StsView() || row < 0 || row >= StyCount() || row >= StsCount()) return false;
    if (m_StyItems[size_t(row)].Size() == 0) return false;
    if (block.fileKind != m_FileKind || block.contentCode != StyClipboardBlock::kStsItem || block.selector != 2 ||
        block.Count() < 1)
        return false;
    const auto qe = StyClipboardBlock::ReadQePart(block.parts[0]);
    if (!qe || qe->sts.size() != qe->header.stsSize) {
        Notify(StyNotice::Numbered(stymsg::WrongClipboardSize, "PasteOneQeStsItem"));
        return false;
    }
    if (qe->header.stsSize == 0) {
        Notify(StyNotice::Numbered(stymsg::ZeroSizeSts, "PasteOneQeStsItem"));
        return false;
    }
    CStyItem& sts = m_StsItems[size_t(row)];
    sts.data.assign(qe->sts.begin(), qe->sts.end());
    sts.version = qe->header.stsVersion;
    sts.release = qe->header.stsRelease;
    setTrimmedName(sts, qe->header.stsName, 'F');
    SetModified();
    Tell(StyViewNotice::RowsChanged, row);
    return true;
}

// ---- Dumps, reports and cleaning ----------------------------------------

int CZibStyDoc::WriteStyleDump(const std::filesystem::path& path, int index)
{
    if (index < 0 || index >= StyCount()) return 0;
    const std::string text = WqStyleDumpText(m_StyItems[size_t(index)], m_Model, WqDumpDate::Today());
    return !text.empty() && writeFileAtomically(path, text) == FileIoError::None ? 1 : 0;
}

std::optional<int> CZibStyDoc::FocusedStyleToDump(const char* caption)
{
    if (StyCount() == 0 || m_FileKind != 2 || !IsWq()) return std::nullopt;
    const int focused = port_->FocusedRow();
    if (focused < 0 || focused >= StyCount()) {
        Notify(StyNotice::Numbered(stymsg::NoFocusedItem, caption, StyNoticeIcon::Exclamation));
        return std::nullopt;
    }
    if (m_StyItems[size_t(focused)].Size() <= wqPlaceholderSize(m_Model)) {
        Notify(StyNotice::Numbered(stymsg::CannotProcessEmptyItem, caption, StyNoticeIcon::Exclamation));
        return std::nullopt;
    }
    return focused;
}

void CZibStyDoc::OnUtilSty2Txt()
{
    static constexpr const char* kCaption = "OnUtilSty2Txt";
    const std::optional<int> dumped = FocusedStyleToDump(kCaption);
    if (!dumped) return;
    const int focused = *dumped;
    const auto path = port_->ChooseSaveFile({"Style Text Dump", "WqStyle Text Dump (*.TXT)|*.TXT||", "TXT", m_Folder,
                                             ExtractFileName(focused)});
    if (!path) return;
    // A dump that cannot be written is said, not left as an empty file.
    if (!WriteStyleDump(*path, focused))
        Notify(StyNotice::Numbered(stymsg::CannotUpdateTextDescription, kCaption, StyNoticeIcon::Exclamation));
}

void CZibStyDoc::OnViewTextDump()
{
    static constexpr const char* kCaption = "OnViewTextDump";
    const std::optional<int> dumped = FocusedStyleToDump(kCaption);
    if (!dumped) return;
    const int focused = *dumped;
    // Beside the document's file (a new document: the last folder, else the temporary one).
    std::filesystem::path folder = m_Folder.empty() ? settings_.lastOpenedDirectory : m_Folder;
    if (folder.empty()) folder = std::filesystem::temp_directory_path();
    const std::filesystem::path file = folder / std::filesystem::u8path(ExtractFileName(focused) + ".txt");
    if (!WriteStyleDump(file, focused)) {
        Notify(StyNotice::Numbered(stymsg::CannotUpdateTextDescription, kCaption, StyNoticeIcon::Exclamation));
        return;
    }
    StyWaitCursor wait(*port_);
    if (!port_->ShowTextViewer(file))
        Notify(StyNotice::Numbered(stymsg::CannotCreateTextViewer, kCaption, StyNoticeIcon::Exclamation));
}

void CZibStyDoc::OnUtilItemsReport()
{
    if (StyCount() == 0) return;
    const std::string title = Utf8Text(std::filesystem::u8path(m_Path).stem());
    const auto path = port_->ChooseSaveFile(
        {"Item List Report", "Item List Report (*.TXT)|*.TXT||", "TXT", m_Folder, title + "_ItemList"});
    if (!path) return;
    if (writeFileAtomically(*path, ItemsReportText(*this, Utf8Text(*path))) != FileIoError::None)
        Notify(StyNotice::Numbered(stymsg::CannotOpenReportFile, "OnUtilItemsReport", StyNoticeIcon::Stop));
}

int CZibStyDoc::CleanStyleEvents()
{
    if (StyCount() == 0 || !IsWq() || m_FileKind != 2) return 0;
    const std::vector<int> rows = RowsToMark(port_->SelectedRows(), -1, StyCount());
    if (rows.empty()) return 0;
    const auto choice = port_->ChooseCleanEvents();
    if (!choice) return 0;
    int cleaned = 0;
    int removed = 0;
    for (int row : rows) {
        CStyItem& item = m_StyItems[size_t(row)];
        if (item.Size() <= wqPlaceholderSize(m_Model)) continue;
        try {
            std::vector<uint8_t> data = item.data;
            removed += CleanWqStyleEvents(data, m_Model, *choice);
            item.data.swap(data);
        } catch (const std::bad_alloc&) {
            Notify(StyNotice::Text("Fatal error: Cannot allocate data when processing style: %s",
                                   {cp1252ToUtf8(item.NameText())}, "CleanStyleEvents", StyNoticeIcon::Stop));
            break;
        }
        ++cleaned;
    }
    if (removed > 0) {
        SetModified();
        Tell(StyViewNotice::RowsChanged);
        Notify(StyNotice::Text("Successfully cleaned %d items", {std::to_string(cleaned)}, {}));
    }
    return cleaned;
}

// ---- MIDI ---------------------------------------------------------------

int CZibStyDoc::OnUtilStyToMidi()
{
    if (StyCount() == 0 || m_FileKind != 2) return 0;
    const auto folder = ChooseDestinationFolder();
    if (!folder) return 0;
    m_OutputFolder = *folder;
    return StylesToMidi(port_->SelectedRows(), *folder);
}

int CZibStyDoc::StylesToMidi(std::span<const int> rows, const std::filesystem::path& folder)
{
    return ExportRowsToMidi(rows, "Successfully converted %d styles of %d selected", [&](int row, bool& yesToAll) {
        StyleMidiExport job;
        job.style = &m_StyItems[size_t(row)];
        job.sts = IsQe() && row < StsCount() ? &m_StsItems[size_t(row)] : nullptr;
        job.model = m_Model;
        job.styToMidiType = settings_.styToMidiType;
        job.percussionOnDrumChannel = settings_.playPercOnDrumChan;
        job.qeCollect = settings_.qeCollect;
        const StyleMidiOutcome outcome = ExportStyleToMidi(job, folder, *port_, yesToAll);
        return outcome == StyleMidiOutcome::Cancelled ? -1 : outcome == StyleMidiOutcome::Converted ? 1 : 0;
    });
}

std::optional<StylePlayback> CZibStyDoc::PlaySelectedStyle()
{
    if (StyCount() == 0 || m_FileKind != 2) return std::nullopt;
    const int focused = port_->FocusedRow();
    const std::vector<int> selected = port_->SelectedRows();
    if (focused < 0 || focused >= StyCount() || std::find(selected.begin(), selected.end(), focused) == selected.end()) {
        Notify(StyNotice::Numbered(stymsg::NoSelectedItem));
        return std::nullopt;
    }
    const CStyItem& style = m_StyItems[size_t(focused)];
    if (IsWq() && style.Size() <= wqPlaceholderSize(m_Model)) {
        Notify(StyNotice::Numbered(stymsg::CannotPlaybackEmptyStyle));
        return std::nullopt;
    }
    StyWaitCursor wait(*port_);
    return BuildStylePlayback(style, m_Model, TemporaryFolder(), settings_.playPercOnDrumChan, *port_);
}

// ---- Saving -------------------------------------------------------------

std::vector<uint8_t> CZibStyDoc::BuildFileImage()
{
    if (StyCount() == 0) {
        Notify(StyNotice::Numbered(stymsg::CannotSaveEmptyFile));
        return {};
    }
    return IsWq() ? BuildWqFileImage() : BuildQeFileImage();
}

std::vector<uint8_t> CZibStyDoc::BuildWqFileImage()
{
    const bool familyB = IsWqFamilyB(m_Model);
    const size_t head = familyB ? kWqHeadB : kWqHeadA;
    const int slots = WqStyleSlots(m_Model);
    if (StyCount() > slots) {
        Notify(StyNotice::Text("Cannot save: %d styles do not fit into the %d places of this file!", {
                                   std::to_string(StyCount()), std::to_string(slots)},
                               "SaveSty", StyNoticeIcon::Exclamation));
        return {};
    }
    if (!CheckFileSize(true)) return {};
    std::vector<uint8_t> image = m_Head;
    if (image.size() != head || image[4] != m_Model) {
        const CStyItem& first = m_StyItems.front();
        image = CWqStyleWriter::MakeFileHead(m_Model, std::span<const uint8_t>(first.data).first(std::min<size_t>(first.data.size(), 10)),
                                             first.Size());
    }
    for (int k = 0; k < slots; ++k) {
        const uint16_t size = k < StyCount() ? uint16_t(m_StyItems[size_t(k)].Size()) : 0;
        put16(image, familyB ? 24 + 4 * size_t(k) : 76 + 6 * size_t(k), size);
        if (!familyB) {
            // The style names of the head's four entries.
            const size_t at = 32 + 10 * size_t(k);
            if (k < StyCount())
                std::memcpy(image.data() + at, m_StyItems[size_t(k)].data.data(), 10);
            else
                std::memcpy(image.data() + at, "empty     ", 10);
        }
    }
    for (const CStyItem& item : m_StyItems)
        image.insert(image.end(), item.data.begin(), item.data.end());
    return image;
}

std::vector<uint8_t> CZibStyDoc::BuildQeFileImage()
{
    // Each style with its STS block (when it has one) at the style's position.
    std::vector<QeContainerEntry> entries;
    for (int p = 0; p < StyCount(); ++p) {
        const CStyItem& style = m_StyItems[size_t(p)];
        if (style.Size() == 0) continue;
        entries.push_back({&style, p});
        if (p < StsCount() && m_StsItems[size_t(p)].Size() != 0) entries.push_back({&m_StsItems[size_t(p)], p});
    }
    return BuildQeContainerImage(entries, m_FirstBank >= 0 ? m_FirstBank : 17);
}

// ---- What the item commands ask of a style file -------------------------

CZibItemDoc::ItemFileTexts CZibStyDoc::ItemFiles() const
{
    return {"Import Styles", "WqStyle Files (*.WSF)|*.WSF||", "WSF"};
}

std::vector<uint8_t> CZibStyDoc::ItemFileBytes(int index) const
{
    const CStyItem* sts = IsQe() && index < StsCount() ? &m_StsItems[size_t(index)] : nullptr;
    return StyleItemFileBytes(m_Model, m_StyItems[size_t(index)], sts);
}

int CZibStyDoc::ImportItemFile(const std::filesystem::path& path)
{
    const std::string name = Utf8Text(path.filename());
    const std::string ext = UpperAscii(name.size() >= 3 ? name.substr(name.size() - 3) : name);
    if (ext != "WSF") {
        Notify(StyNotice::Text("Error: Not WSF file type: %s", {ext}, "ImportItem"));
        return 0;
    }
    m_FileKind = 2;
    return ImportStyle(path);
}

int CZibStyDoc::PasteItem(const StyClipboardBlock& block, int index)
{
    const int result = PasteStyItem(block, index);
    if (result == kStyConvertOk && IsQeModel(block.model) && IsQe() && StsCount() < StyCount())
        PasteQeStsItem(block, index);
    return result;
}

} // namespace zib
