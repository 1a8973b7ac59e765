#include "docs/program/core/PrfDocModel.h"

#include "docs/program/core/DocPaths.h"
#include "docs/program/core/ItemFileHead.h"
#include "docs/program/core/ItemRows.h"
#include "docs/program/core/QeContainerImage.h"
#include "docs/style/core/CQePrfBank.h"
#include "docs/style/core/DasfIndex.h"
#include "docs/style/core/ItemBuilders.h"
#include "midi/ValueTexts.h"
#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"
#include "platform/Cp1252.h"
#include "platform/FileIo.h"
#include "ulvarf/ulvarf.h"

#include <algorithm>

namespace zib {

namespace {

constexpr int kFileKindPrf = 4;
constexpr uint32_t kPerformanceType = 1;
constexpr size_t kItemHeader = 22; // u32 size, char[18] name
constexpr size_t kMaxContainer = 256u << 20;
constexpr int kUserBank = 17; // "18: USER1"
constexpr const char* kEmptyName = "** (N/A) EMPTY **";
constexpr const char* kEmptiedName = "** (N/A) Empty ** ";

void setName(CItemInfo& item, std::span<const char> name, uint32_t model)
{
    item.SetName(std::string_view(name.data(), std::min<size_t>(name.size(), 18)));
    ConvertItemName(item.name, model, 1);
}

// Whether the container holds any performance (type 1) in its index.
bool holdsPerformances(ULRFContainer* container)
{
    char name[18];
    int type = 0, user1 = 0, user2 = 0;
    for (int i = 0; i < 2000 && _ULRFEnumIndex(container, i, name, &type, &user1, &user2); ++i)
        if (type == int(kPerformanceType)) return true;
    return false;
}

} // namespace

bool prf::Readable(std::span<const uint8_t> data)
{
    if (data.size() < kReadable || data[36] == 0) return false;
    const uint32_t length = uint32_t(data[24]) << 24 | uint32_t(data[25]) << 16 | uint32_t(data[26]) << 8 | data[27];
    return length <= data.size();
}

bool PrfDocModel::Failed(const DocMessage& message) const
{
    Notify(message);
    return false;
}

// New and open

void PrfDocModel::OnNewDocument()
{
    DeleteContents();
    fileKind = kFileKindPrf;
    model = 'F';
    Port().Refill();
}

bool PrfDocModel::OnOpenDocument(const std::string& filePath)
{
    std::vector<uint8_t> bytes;
    if (ReadFilePrefix(filePath, kMaxContainer, bytes) != FileIoError::None)
        return Failed(DocMessage::Numbered(9, "OnOpenDocument", DocIcon::Stop));
    return OpenImage(filePath, bytes);
}

bool PrfDocModel::OpenImage(const std::string& filePath, std::span<const uint8_t> image)
{
    DeleteContents();
    path = filePath;
    const auto fail = [this] {
        DeleteContents();
        Port().Refill();
        return false;
    };
    if (image.empty()) {
        Notify(DocMessage::Numbered(46));
        return fail();
    }
    fileKind = UpperTail(filePath, 4) == ".PRF" ? kFileKindPrf : 0;
    if (fileKind == 0) return fail();
    if (!IsDasfContainer(image)) {
        Notify(DocMessage::Numbered(17));
        return fail();
    }
    model = 'F';
    if (!ParseQePrf(image)) return fail();
    Port().Refill();
    Opened(fileKind);
    return true;
}

bool PrfDocModel::ParseQePrf(std::span<const uint8_t> image)
{
    CQePrfBank index;
    UlrfContainerPtr container = index.Load(image);
    if (!container) {
        // A container without performances opens empty, as a new document;
        // any other failure is said.
        UlrfContainerPtr plain(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
        if (plain && !holdsPerformances(plain.get())) return true;
        return Failed(DocMessage::Numbered(17, "ParseQePrf"));
    }
    model = int(index.GetModelCode());
    const StyNoticeSink notices = [this](const StyNotice& n) { Notify(n); };
    for (int p = 0; p <= index.GetMaxPosition(); ++p) {
        CQePrfItem item;
        const int r = index.FindByPosition(p);
        if (r < 0) {
            item.model = 'F';
            item.SetName(kEmptyName);
            item.resourceIndex = item.bankPosition = item.bank = -1;
        } else {
            if (!GetQEItemUnComp(item, container.get(), r, uint32_t(model), notices)) {
                items.clear();
                return false;
            }
            const QeBankEntry& e = index.entries[size_t(r)];
            item.SetName(std::string_view(e.name.data(), e.name.size()));
            item.resourceIndex = e.resourceIndex;
            item.bankPosition = e.position;
            item.bank = e.bank;
            item.headerWordA = e.headerWordA;
            item.headerWordB = e.headerWordB;
            if (bank < 0) bank = e.bank;
        }
        item.position = uint32_t(p);
        item.kind = kPerformanceType;
        ConvertItemName(item.name, uint32_t(model), 1);
        items.push_back(std::move(item));
    }
    if (index.changed)
        Notify(DocMessage::Text(
            "Found data resources with incorrect bank/position !!!\n\nParsing function rearranged data resources "
            "trying to display all valid style items\nYou must be aware that displayed item order does not "
            "correspond to what is\nfound inside original file. When saving file, new (rearranged) order will be "
            "saved!!!",
            {}, "ParseQESty", DocIcon::Exclamation));
    return true;
}

void PrfDocModel::DeleteContents()
{
    items.clear();
    bank = -1;
}

// Item commands

void PrfDocModel::OnEditDelete()
{
    DeleteItems();
}

void PrfDocModel::OnEditEmpty()
{
    EmptyItems();
}

void PrfDocModel::OnEditSelectAll()
{
    std::vector<int> rows(items.size());
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = int(i);
    Port().SetSelection(rows, Port().FocusedRow());
}

bool PrfDocModel::DeleteItems()
{
    const auto rows = MarkedRows(Port().SelectedRows(), Port().FocusedRow(), Count());
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

bool PrfDocModel::EmptyItems()
{
    const auto rows = MarkedRows(Port().SelectedRows(), Port().FocusedRow(), Count());
    if (rows.empty()) return true;
    for (int row : rows) {
        CQePrfItem& item = items[size_t(row)];
        // An empty performance of a Qe4k document is left as it is.
        if (item.data.empty() && model == 'F') continue;
        item.data.clear();
        setName(item, std::span<const char>(kEmptiedName, 18), 'F');
        item.model = 'F';
    }
    Port().RedrawAll();
    modified = true;
    return true;
}

std::vector<uint8_t> PrfDocModel::ItemFileImage(int index) const
{
    const CQePrfItem& item = items[size_t(index)];
    ByteWriter out;
    WriteItemFileHead(out, uint8_t(model));
    out.u32le(item.Size());
    out.bytes(reinterpret_cast<const uint8_t*>(item.name.data()), 18);
    out.bytes(item.data);
    return out.take();
}

bool PrfDocModel::ExtractItem(int index, const std::string& file)
{
    if (index < 0 || index >= Count()) return false;
    const FileIoError error = writeFileAtomically(file, ItemFileImage(index));
    if (error == FileIoError::None) return true;
    if (error == FileIoError::OpenFailed) return Failed(DocMessage::Numbered(9, "Extract Item"));
    return Failed(DocMessage::Text("Error writing item data. Index: %d, errorcode: %d",
                                   {std::to_string(index), std::to_string(int(error))}, "ExtractItem"));
}

void PrfDocModel::OnEditExtract()
{
    if (items.empty()) return;
    const int focused = Port().FocusedRow();
    if (focused < 0 || focused >= Count()) {
        Notify(DocMessage::Numbered(23, "OnEditExtract"));
        return;
    }
    std::string name = items[size_t(focused)].NameText();
    MakeValidFileName(name);
    const FileChoice choice{"Extract Item", "WqPerformance Files (*.WFF)|*.WFF||", "WFF", folder, cp1252ToUtf8(name)};
    if (const auto file = Port().SavePath(choice)) ExtractItem(focused, *file);
}

void PrfDocModel::OnEditExtractAll()
{
    if (items.empty()) return;
    ExtractAll(Count(), ".WFF", [this](int i) {
        if (items[size_t(i)].data.empty()) return std::string();
        std::string name = items[size_t(i)].NameText();
        MakeValidFileName(name);
        return name.empty() ? "Item" + std::to_string(i + 1) : cp1252ToUtf8(name);
    }, [this](int i, const std::string& file) { return ExtractItem(i, file); });
}

// Import

void PrfDocModel::ImportItem()
{
    if (Count() >= kMaxItems) {
        Notify(DocMessage::Numbered(25, "ImportItem"));
        return;
    }
    const FileChoice choice{"Import Performances", "WqPerf Files (*.WFF)|*.WFF||", "WFF", folder, ""};
    const auto files = Port().OpenPaths(choice);
    if (files.empty()) return;
    importing = true;
    ImportFiles(files);
    importing = false;
}

bool PrfDocModel::ImportFiles(const std::vector<std::string>& files)
{
    bool ok = true;
    bool added = false;
    size_t done = 0;
    for (; done < files.size() && Count() < kMaxItems; ++done) {
        const std::string ext = UpperTail(files[done], 3);
        if (ext != "WFF") {
            Notify(DocMessage::Text("Error: Not WFF file type: %s", {ext}, "ImportItem"));
            if (added) modified = true;
            return false;
        }
        fileKind = kFileKindPrf;
        if (!ImportPerf(files[done])) {
            ok = false;
            break;
        }
        added = true;
    }
    if (ok && done < files.size()) Notify(DocMessage::Numbered(25, "ImportItem"));
    modified = true;
    if (ok && !items.empty()) Port().ScrollTo(Count() - 1);
    return ok;
}

bool PrfDocModel::ImportPerf(const std::string& file)
{
    std::vector<uint8_t> bytes;
    const FileIoError error = readWholeFile(file, bytes, kMaxContainer);
    if (error == FileIoError::TooLarge) return Failed(DocMessage::Numbered(27, "ImportPerf"));
    if (error != FileIoError::None)
        return Failed(DocMessage::Text("Cannot open file - %d", {std::to_string(int(error))}, "ImportPerf"));
    const PrfItemResult r = ImportPerfImage(bytes);
    if (r == PrfItemResult::CloseDocument) RequestClose();
    return r == PrfItemResult::Added;
}

PrfItemResult PrfDocModel::ImportPerfImage(std::span<const uint8_t> bytes)
{
    const auto refuse = [this](int message) {
        Notify(DocMessage::Numbered(message, "ImportPerf"));
        return PrfItemResult::Failed;
    };
    if (bytes.size() < kItemFileHeadSize + kItemHeader) return refuse(15);
    const auto letter = ReadItemFileHead(bytes);
    if (!letter || *letter != model) return refuse(26);
    ByteCursor in(bytes.subspan(kItemFileHeadSize));
    const uint32_t size = in.u32le();
    // The size must be what the file holds after its header: nothing is allocated on its word.
    if (size != bytes.size() - kItemFileHeadSize - kItemHeader) return refuse(27);
    const auto name = in.bytes(18);
    const auto data = in.bytes(size);
    sourceModel = *letter;
    return AddPerformance(std::vector<uint8_t>(data.begin(), data.end()),
                          std::span<const char>(reinterpret_cast<const char*>(name.data()), 18), *letter);
}

PrfItemResult PrfDocModel::AddPerformance(std::vector<uint8_t> data, std::span<const char> name, int itemModel)
{
    CQePrfItem item;
    item.data = std::move(data);
    const int index = Count();
    item.position = uint32_t(index);
    item.model = uint32_t(itemModel);
    item.kind = kPerformanceType;
    item.resourceIndex = item.bankPosition = index;
    if (items.empty()) bank = kUserBank;
    item.bank = bank >= 0 ? bank : kUserBank;
    setName(item, name, uint32_t(model));
    items.push_back(std::move(item));
    Port().RowsInserted(index, 1);
    return PrfItemResult::Added;
}

// Save

std::optional<std::vector<uint8_t>> PrfDocModel::BuildFileImage()
{
    std::vector<QeContainerEntry> entries;
    for (size_t row = 0; row < items.size(); ++row) {
        const CQePrfItem& item = items[row];
        if (item.data.empty()) continue; // an empty row stays a gap
        QeContainerEntry e;
        e.resource = item.data;
        std::copy_n(item.name.begin(), e.name.size(), e.name.begin());
        e.type = uint8_t(kPerformanceType);
        e.bank = uint8_t(bank >= 0 ? bank : std::max(item.bank, 0));
        e.position = uint8_t(row);
        entries.push_back(e);
    }
    std::vector<uint8_t> out;
    const QeContainerError error = BuildQeContainer(entries, out);
    if (error == QeContainerError::None) return out;
    Notify(DocMessage::Numbered(error == QeContainerError::OutputFailed ? 48 : 47, "OnSaveDocument", DocIcon::Stop));
    return std::nullopt;
}

} // namespace zib
