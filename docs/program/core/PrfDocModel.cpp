#include "docs/program/core/PrfDocModel.h"

#include "docs/program/core/DocPaths.h"
#include "docs/program/core/ItemFileHead.h"
#include "docs/program/core/ItemRows.h"
#include "docs/style/core/CQePrfBank.h"
#include "docs/style/core/DasfIndex.h"
#include "docs/style/core/ItemBuilders.h"
#include "docs/style/core/StsItemData.h"
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
constexpr uint32_t kPerformanceType = PrfDocModel::kResourceType;
constexpr size_t kItemHeader = 22; // u32 size, char[18] name
constexpr int kUserBank = 17; // "18: USER1"
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

bool PrfDocModel::Readable(std::span<const uint8_t> data)
{
    if (data.size() < StsItemData::kFirstSts + StsItemData::kStsBlock || data[StsItemData::kStsCount] == 0)
        return false;
    return ByteCursor(data.data() + StsItemData::kDataLength, 4).u32be() <= data.size();
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
    return ReadForOpen(filePath, kMaxItemContainer, bytes) && OpenImage(filePath, bytes);
}

bool PrfDocModel::OpenImage(const std::string& filePath, std::span<const uint8_t> image)
{
    return OpenWith(filePath, image, [this, &filePath](std::span<const uint8_t> bytes) {
        fileKind = UpperTail(filePath, 4) == ".PRF" ? kFileKindPrf : 0;
        if (fileKind == 0) return 0;
        if (!IsDasfContainer(bytes)) {
            Notify(DocMessage::Numbered(17));
            return 0;
        }
        model = 'F';
        return ParseQePrf(bytes) ? fileKind : 0;
    });
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
    const auto get = [&](CQePrfItem& item, int r) {
        if (!GetQEItemUnComp(item, container.get(), r, uint32_t(model), notices)) return false;
        item.headerWordA = index.entries[size_t(r)].headerWordA;
        item.headerWordB = index.entries[size_t(r)].headerWordB;
        return true;
    };
    return ReadQeBankRows<CQePrfItem>(index, items, uint32_t(model), kPerformanceType, bank, get);
}

void PrfDocModel::DeleteContents()
{
    items.clear();
    bank = -1;
}

// Item commands

bool PrfDocModel::DeleteItems()
{
    return DeleteMarkedItems(items);
}

bool PrfDocModel::EmptyItems()
{
    const auto rows = MarkedItemRows();
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

// Import

const ItemFileKind& PrfDocModel::ShownFileKind() const
{
    static constexpr ItemFileKind kWff{"WFF", "WqPerformance Files (*.WFF)|*.WFF||", "Import Performances",
                                       "WqPerf Files (*.WFF)|*.WFF||", "Error: Not WFF file type: %s"};
    return kWff;
}

ItemResult PrfDocModel::ImportItemFile(const std::string& file)
{
    fileKind = kFileKindPrf;
    return ImportPerf(file);
}

PrfItemResult PrfDocModel::ImportPerf(const std::string& file)
{
    const auto bytes = ReadItemFile(file, kMaxItemContainer, "ImportPerf", "ImportPerf");
    return bytes ? ImportPerfImage(*bytes) : PrfItemResult::Failed;
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
    if (!AcceptsImportedQeItemData(data, uint8_t(kPerformanceType), "ImportPerf"))
        return PrfItemResult::Failed;
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
    return BuildQeFileImage(items, uint8_t(kPerformanceType), bank);
}

} // namespace zib
