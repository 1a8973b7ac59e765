#include "docs/program/core/ArrDocModel.h"

#include "docs/program/core/ArrConversion.h"
#include "docs/program/core/DocPaths.h"
#include "docs/program/core/ItemFileHead.h"
#include "docs/program/core/ItemRows.h"
#include "midi/ValueTexts.h"
#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"
#include "platform/Cp1252.h"
#include "platform/FileIo.h"

#include <algorithm>
#include <cstring>

namespace zib {

namespace {

constexpr int kFileKindArr = 6;
constexpr size_t kLargestFile = 24864;
constexpr uintmax_t kMaxSibling = 4u << 20; // far above any style or program file

bool isArrModel(int model)
{
    return model == '9' || model == '<' || model == 'H' || model == 'I' || model == 'M';
}

bool isFamilyA(int model)
{
    return model == '9' || model == '<' || model == 'H';
}

// The name bytes of a record of the model: 10 for family A, 16 for 'I' and 'M'.
size_t recordNameWidth(int model)
{
    return isFamilyA(model) ? 10 : 16;
}

void nameFromRecord(CArrItem& item, int model)
{
    item.SetName(std::string_view(reinterpret_cast<const char*>(item.data.data()),
                                  std::min(item.data.size(), recordNameWidth(model))));
    ConvertItemName(item.name, uint32_t(model), 1);
}

// The sibling's head must fit the arrangement: the same letter, or '9' beside
// a '<' or 'H' arrangement.
bool siblingFits(std::span<const uint8_t> file, int model)
{
    if (file.size() < kItemFileHeadSize) return false;
    const int letter = file[4];
    return letter == model || ((model == '<' || model == 'H') && letter == '9');
}

} // namespace

std::optional<ArrDocModel::Layout> ArrDocModel::LayoutOf(int model, int mode)
{
    if (isFamilyA(model)) return Layout{672, 64, 131};
    if (model == 'M') return Layout{32, 64, 164};
    if (model == 'I') return Layout{32, 128, mode == 2 ? size_t(194) : size_t(164)};
    return std::nullopt;
}

// New and open

void ArrDocModel::OnNewDocument()
{
    DeleteContents();
    fileKind = kFileKindArr;
    model = '9';
    recordMode = 1;
    Port().Refill();
}

bool ArrDocModel::OnOpenDocument(const std::string& filePath)
{
    std::vector<uint8_t> bytes;
    // One byte more than the largest layout is enough for the size test.
    return ReadForOpen(filePath, kLargestFile + 1, bytes) && OpenImage(filePath, bytes);
}

bool ArrDocModel::OpenImage(const std::string& filePath, std::span<const uint8_t> image)
{
    return OpenWith(filePath, image, [this, &filePath](std::span<const uint8_t> bytes) {
        fileKind = UpperTail(filePath, 4) == ".ARR" ? kFileKindArr : 0;
        if (fileKind == 0) return 0;
        model = CheckDaskHead(bytes, "9<HIM");
        return model != 0 && ParseArr(bytes) ? fileKind : 0;
    });
}

bool ArrDocModel::ParseArr(std::span<const uint8_t> image)
{
    recordMode = 1;
    if (model == 'I' && image.size() == 24864) recordMode = 2;
    const auto layout = LayoutOf(model, recordMode);
    if (!layout) return false;
    const size_t total = layout->head + size_t(layout->records) * (model == 'I' ? 164 : layout->record) +
                         (recordMode == 2 ? size_t(layout->records) * 30 : 0);
    if (image.size() != total) return Failed(DocMessage::Numbered(14, "ParseArr"));
    head.assign(image.begin(), image.begin() + ptrdiff_t(layout->head));
    const size_t stride = model == 'I' ? 164 : layout->record;
    const size_t tails = layout->head + stride * size_t(layout->records);
    for (int i = 0; i < layout->records; ++i) {
        const size_t at = layout->head + stride * size_t(i);
        std::vector<uint8_t> record(image.begin() + ptrdiff_t(at), image.begin() + ptrdiff_t(at + stride));
        if (recordMode == 2) {
            const auto tail = image.subspan(tails + 30 * size_t(i), 30);
            record.insert(record.end(), tail.begin(), tail.end());
        }
        CArrItem item;
        if (!GetArrItem(item, record, model, recordMode)) return false;
        item.position = uint32_t(i);
        items.push_back(std::move(item));
    }
    userStyleNamesRead = GetUserStyleNames(path);
    userProgramNamesRead = GetUserProgNames(path);
    return true;
}

bool ArrDocModel::GetUserStyleNames(const std::string& arrPath)
{
    userStyleNames = {};
    const auto sibling = FindSiblingIgnoringCase(arrPath, "sty");
    if (!sibling) return false;
    std::vector<uint8_t> file;
    const FileIoError error = readWholeFile(*sibling, file, kMaxSibling);
    if (error == FileIoError::OpenFailed)
        return Failed(DocMessage::Text("Cannot open file - %d", {std::to_string(int(error))}, "GetUserStyleNames"));
    // A short or unreadable file, or one of another model, gives no names and no message.
    if (error != FileIoError::None) return false;
    return ReadUserStyleNames(file);
}

bool ArrDocModel::ReadUserStyleNames(std::span<const uint8_t> file)
{
    userStyleNames = {};
    // A short or unreadable file, or one of another model, gives no names and no message.
    if (!siblingFits(file, model)) return false;
    const auto take = [&](int entry, size_t at, size_t width) {
        if (at + width > file.size()) return false;
        std::memcpy(userStyleNames[size_t(entry)].data(), file.data() + at, width);
        return true;
    };
    bool ok = true;
    if (FamilyA()) {
        for (int i = 0; i < 4 && ok; ++i)
            ok = take(i, 32 + 10 * size_t(i), 10);
    } else {
        ok = file.size() >= 224;
        // The styles follow the 224-byte head back to back; the head holds their sizes.
        size_t at = 224;
        for (int i = 0; i < 48 && ok; ++i) {
            ok = take(i, at, 16);
            const size_t size = size_t(file[24 + 4 * size_t(i)] | file[25 + 4 * size_t(i)] << 8);
            if (size == 0) break;
            at += size;
        }
    }
    if (!ok) userStyleNames = {};
    return ok;
}

bool ArrDocModel::GetUserProgNames(const std::string& arrPath)
{
    userProgramNames = {};
    const auto sibling = FindSiblingIgnoringCase(arrPath, FamilyA() ? "pcg" : "prg");
    if (!sibling) return false;
    std::vector<uint8_t> file;
    const FileIoError error = readWholeFile(*sibling, file, kMaxSibling);
    if (error == FileIoError::OpenFailed)
        return Failed(DocMessage::Text("Cannot open file - %d", {std::to_string(int(error))}, "GetUserProgNames"));
    if (error != FileIoError::None) return false;
    return ReadUserProgNames(file);
}

bool ArrDocModel::ReadUserProgNames(std::span<const uint8_t> file)
{
    userProgramNames = {};
    if (!siblingFits(file, model)) return false;
    const int count = FamilyA() ? 64 : 128;
    const size_t first = FamilyA() ? 88 : 48, stride = FamilyA() ? 10 : 172, width = FamilyA() ? 10 : 16;
    if (first + stride * size_t(count - 1) + width > file.size()) return false;
    for (int i = 0; i < count; ++i)
        std::memcpy(userProgramNames[size_t(i)].data(), file.data() + first + stride * size_t(i), width);
    return true;
}

void ArrDocModel::DeleteContents()
{
    items.clear();
    head.clear();
    userProgramNames = {};
    userStyleNames = {};
    userProgramNamesRead = userStyleNamesRead = false;
}

// Item commands

bool ArrDocModel::DeleteItems()
{
    return DeleteMarkedItems(items);
}

std::vector<uint8_t> ArrDocModel::EmptyRecord() const
{
    std::vector<uint8_t> record(ArrRecordSize(model, recordMode), 0);
    const std::string name = "EMPTYARR" + std::string(recordNameWidth(model) - 8, ' ');
    std::copy(name.begin(), name.end(), record.begin());
    return record;
}

bool ArrDocModel::EmptyItems()
{
    const auto rows = MarkedItemRows();
    if (rows.empty()) return true;
    for (int row : rows) {
        CArrItem& item = items[size_t(row)];
        std::fill(item.data.begin(), item.data.end(), uint8_t(0));
        const std::string name = "EMPTYARR" + std::string(recordNameWidth(model) - 8, ' ');
        std::copy_n(name.begin(), std::min(name.size(), item.data.size()), item.data.begin());
        item.SetName(name);
        item.model = uint32_t(model);
        ConvertItemName(item.name, uint32_t(model), 1);
    }
    Port().RedrawAll();
    modified = true;
    return true;
}

std::vector<uint8_t> ArrDocModel::ItemFileImage(int index) const
{
    ByteWriter out;
    WriteItemFileHead(out, uint8_t(model));
    out.bytes(items[size_t(index)].data);
    return out.take();
}

// Import

int ArrDocModel::ItemLimit() const
{
    // A record each in the model's layout.
    if (const auto layout = LayoutOf(model, recordMode)) return layout->records;
    return kArrMaxItems;
}

const ItemFileKind& ArrDocModel::ShownFileKind() const
{
    static constexpr ItemFileKind kWaf{"WAF", "WqArrange Files (*.WAF)|*.WAF||", "Import Arrangements",
                                       "WqArrange Files (*.WAF)|*.WAF||", "Error: Not WAF file type: %s"};
    return kWaf;
}

ArrItemResult ArrDocModel::ImportArr(const std::string& file)
{
    // An item file is at most 5 + 194 bytes; a longer file is of no expected size.
    const auto bytes = ReadItemFile(file, 1u << 20, "ImportArrange", "ImportArr");
    return bytes ? ImportArrImage(*bytes) : ArrItemResult::Failed;
}

ArrItemResult ArrDocModel::ImportArrImage(std::span<const uint8_t> bytes)
{
    const auto refuse = [this](int message, const char* caption) {
        Notify(DocMessage::Numbered(message, caption));
        return ArrItemResult::Failed;
    };
    if (bytes.size() < kItemFileHeadSize) return refuse(15, "ImportArrange");
    const auto letter = ReadItemFileHead(bytes);
    if (!letter) return refuse(26, "ImportArr");
    const int itemModel = *letter;
    // A letter of no arrangement model has no size to check and no layout to read.
    if (!isArrModel(itemModel)) return refuse(26, "ImportArr");
    const auto record = bytes.subspan(kItemFileHeadSize);
    sourceModel = itemModel;
    const bool fits = itemModel == 'I' ? record.size() == 164 || record.size() == 194
                                       : record.size() == ArrRecordSize(itemModel, 1);
    if (!fits) return refuse(27, "ImportArrange");
    return AddRecord(record, itemModel, "ImportArrange");
}

ArrItemResult ArrDocModel::AddRecord(std::span<const uint8_t> record, int itemModel, const char* caption)
{
    // An empty document takes the item's model, an 'I' item's size its record mode.
    if (model == ' ' || items.empty()) {
        if (itemModel == 'I') recordMode = record.size() == 194 ? 2 : 1;
        model = itemModel;
    }
    const size_t size = itemModel == 'I' ? (recordMode == 2 ? 194 : 164) : record.size();
    CArrItem item;
    item.data.assign(size, 0);
    std::copy_n(record.begin(), std::min(size, record.size()), item.data.begin());
    item.position = uint32_t(Count());
    item.model = uint32_t(itemModel);
    nameFromRecord(item, itemModel);
    const int index = Count();
    items.push_back(std::move(item));
    if (itemModel != model && ConvertArrItem(itemModel, model, index) != 0) {
        items.pop_back();
        Notify(DocMessage::Numbered(28, caption));
        return ArrItemResult::Failed;
    }
    Port().RowsInserted(index, 1);
    if (Count() == 1) Port().Refill();
    return ArrItemResult::Added;
}

int ArrDocModel::ConvertArrItem(int from, int to, int index)
{
    if (index < 0 || index >= Count()) return -1;
    CArrItem& item = items[size_t(index)];
    auto record = ConvertArrRecord(item.data, from, to, recordMode);
    if (!record) return -1;
    item.data = std::move(*record);
    item.model = uint32_t(to);
    nameFromRecord(item, to);
    return 0;
}

// Save

std::optional<std::vector<uint8_t>> ArrDocModel::BuildFileImage()
{
    const auto layout = LayoutOf(model, recordMode);
    if (!layout) {
        Notify(DocMessage::Numbered(47, "OnSaveDocument", DocIcon::Stop));
        return std::nullopt;
    }
    if (Count() > layout->records) {
        Notify(DocMessage::Text("Cannot save: the list holds %d items, the file has room for %d",
                                {std::to_string(Count()), std::to_string(layout->records)}, "OnSaveDocument",
                                DocIcon::Stop));
        return std::nullopt;
    }
    ByteWriter out;
    // A new document, or one that took another model, gets a head of its own.
    if (head.size() == layout->head && head[4] == model) {
        out.bytes(head);
    } else {
        WriteItemFileHead(out, uint8_t(model));
        out.fill(0, layout->head - kItemFileHeadSize);
    }
    const std::vector<uint8_t> empty = EmptyRecord();
    const size_t stride = model == 'I' ? 164 : layout->record;
    for (int i = 0; i < layout->records; ++i) {
        const auto& record = i < Count() ? items[size_t(i)].data : empty;
        out.bytes(std::span<const uint8_t>(record).first(stride));
    }
    if (recordMode == 2)
        for (int i = 0; i < layout->records; ++i) {
            const auto& record = i < Count() ? items[size_t(i)].data : empty;
            out.bytes(std::span<const uint8_t>(record).subspan(164, 30));
        }
    return out.take();
}

} // namespace zib
