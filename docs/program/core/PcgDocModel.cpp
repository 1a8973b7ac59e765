#include "docs/program/core/PcgDocModel.h"

#include "docs/program/core/DocPaths.h"
#include "docs/program/core/ItemFileHead.h"
#include "docs/program/core/ItemRows.h"
#include "docs/program/core/PcgLayout.h"
#include "docs/program/core/WqPcgConversions.h"
#include "docs/program/core/WqPcgFile.h"
#include "docs/style/core/CQePcgBank.h"
#include "docs/style/core/ItemBuilders.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "midi/ValueTexts.h"
#include "platform/ByteCursor.h"
#include "platform/Cp1252.h"
#include "platform/ByteWriter.h"
#include "platform/FileIo.h"
#include "ulvarf/ulvarf.h"

#include <algorithm>

namespace zib {

namespace {

constexpr size_t kQeItemHeader = 34;
constexpr uintmax_t kMaxItemFile = 16u << 20;  // far above any program item
constexpr const char* kEmptiedQeName = "** (N/A) Empty ** ";

// The item's name from the first bytes of a record or header, trimmed to the model's width.
void setItemName(CItemInfo& item, std::span<const uint8_t> bytes, uint32_t model)
{
    item.SetName(std::string_view(reinterpret_cast<const char*>(bytes.data()),
                                  std::min<size_t>(bytes.size(), ItemNameWidth(model))));
    ConvertItemName(item.name, model, 1);
}

void setItemName(CItemInfo& item, std::string_view text, uint32_t model)
{
    setItemName(item, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()), model);
}

// The file kind of a Wq model's family: .PRG for 'I' and 'M', .PCG else.
int familyFileKind(int model)
{
    return pcg::IsFamilyB(model) ? pcg::kFileKindPrg : pcg::kFileKindPcg;
}

} // namespace

PcgItemResult PcgDocModel::Refused(const DocMessage& message) const
{
    Notify(message);
    return PcgItemResult::Failed;
}

// New and open

void PcgDocModel::OnNewDocument(int newDocKind)
{
    DeleteContents();
    if (newDocKind == 1) {
        model = '9';
        fileKind = pcg::kFileKindPcg;
    } else if (newDocKind == 2) {
        model = 'I';
        fileKind = pcg::kFileKindPrg;
    } else {
        model = 'F';
        fileKind = pcg::kFileKindPcg;
    }
    shownList = pcg::kShowPrograms;
    Port().Refill();
}

bool PcgDocModel::OnOpenDocument(const std::string& filePath)
{
    // The head tells how much of the file a Wq layout can use: a Wq file is
    // read up to its layout's size + 1, enough for the size test to fail.
    std::vector<uint8_t> bytes;
    if (!ReadForOpen(filePath, kItemFileHeadSize, bytes)) return false;
    size_t limit = kMaxItemContainer;
    if (const auto letter = ReadItemFileHead(bytes))
        if (const auto layout = WqPcgFile::LayoutOf(*letter)) limit = layout->total + 1;
    return ReadForOpen(filePath, limit, bytes) && OpenImage(filePath, std::move(bytes));
}

bool PcgDocModel::OpenImage(const std::string& filePath, std::vector<uint8_t> fileImage)
{
    return OpenWith(filePath, fileImage, [this, &fileImage](std::span<const uint8_t>) {
        image = std::move(fileImage);
        // Both extensions are one template: the kind stored is that of .PCG.
        return ParseFile() ? pcg::kFileKindPcg : 0;
    });
}

int PcgDocModel::CheckExtension(std::string_view filePath)
{
    const std::string ext = UpperTail(filePath, 4);
    if (ext == ".PCG") return pcg::kFileKindPcg;
    if (ext == ".PRG") return pcg::kFileKindPrg;
    return 0;
}

bool PcgDocModel::ParseFile()
{
    fileKind = CheckExtension(path);
    if (fileKind == 0) return false;
    if (!CheckHead()) return false;
    if (fileKind == pcg::kFileKindPcg && model == 'F') return ParsePcg();
    return ParseWqSerPcg();
}

bool PcgDocModel::CheckHead()
{
    // One file that is not a program file, one message: 18 when its head
    // names a model this document does not take, 17 otherwise.
    if (const auto letter = ReadItemFileHead(image)) {
        model = *letter;
        if (pcg::IsWqModel(model)) return true;
        if (CheckDasfHead()) return true;
        return Failed(DocMessage::Numbered(18));
    }
    if (CheckDasfHead()) return true;
    return Failed(DocMessage::Numbered(17));
}

bool PcgDocModel::CheckDasfHead()
{
    static constexpr uint8_t kRootInfo[8] = {0x02, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x0C};
    ByteCursor in(image);
    bool ok = image.size() >= 27;
    ok = ok && in.skip(4) && in.u32be() == image.size() - 8;
    ok = ok && std::equal(std::begin(kRootInfo), std::end(kRootInfo), image.begin() + 8);
    ok = ok && std::string_view(reinterpret_cast<const char*>(image.data()) + 23, 4) == "DASF";
    if (!ok) return false;
    model = 'F';
    return true;
}

bool PcgDocModel::ParseWqSerPcg()
{
    const auto layout = WqPcgFile::LayoutOf(model);
    // The head's length follows the extension; a model of the other family
    // under this extension has a head its layout cannot hold.
    const size_t headLength = fileKind == pcg::kFileKindPcg ? 791 : pcg::IsFamilyB(model) ? 48 : 0;
    if (!layout || layout->head != headLength) return Failed(DocMessage::Numbered(19, "ParseWqSerPcg"));
    WqPcgFile file;
    if (file.Parse(image, model, headLength) != WqPcgFile::Error::None)
        return Failed(DocMessage::Numbered(14, "ParseWqSerPrg"));
    head = std::move(file.head);
    const StyNoticeSink notices = [this](const StyNotice& n) { Notify(n); };
    for (size_t i = 0; i < file.programs.size(); ++i) {
        CPcgItem item;
        if (!GetItem(item, file.programs[i], uint32_t(model), fileKind, false, notices)) return false;
        item.position = uint32_t(i);
        programs.push_back(std::move(item));
    }
    // A drum kit: its head read as a program record, then its map behind it.
    const size_t record = pcg::ProgramRecordSize(model);
    for (size_t k = 0; k < file.drumKits.size(); ++k) {
        CPcgItem item;
        if (!GetItem(item, file.drumKits[k], uint32_t(model), fileKind, true, notices)) return false;
        std::copy(file.drumKits[k].begin() + ptrdiff_t(record), file.drumKits[k].end(),
                  item.data.begin() + ptrdiff_t(record));
        item.position = uint32_t(k);
        drumKits.push_back(std::move(item));
    }
    shownList = pcg::kShowPrograms;
    return true;
}

bool PcgDocModel::ParsePcg()
{
    programs.clear();
    UlrfContainerPtr container(_ULRFCreateInstance(image.data(), uint32_t(image.size())));
    if (!container) return Failed(DocMessage::Numbered(17, "ParsePcg"));
    CQePcgBank bank;
    // A container without programs opens empty, as a new document.
    if (!bank.EnumIndex(container.get())) return true;
    const StyNoticeSink notices = [this](const StyNotice& n) { Notify(n); };
    return ReadQeBankRows<CPcgItem>(bank, programs, 'F', pcg::kProgramItemType, firstBank, [&](CPcgItem& item, int r) {
        return GetQEItem(item, container.get(), r, 'F', notices);
    });
}

void PcgDocModel::DeleteContents()
{
    image.clear();
    programs.clear();
    drumKits.clear();
    head.clear();
}

// Item commands

bool PcgDocModel::DeleteItems()
{
    return DeleteMarkedItems(ShownItems());
}

bool PcgDocModel::EmptyItems()
{
    if (!IsQe() && shownList != pcg::kShowPrograms && shownList != pcg::kShowDrumKits) return false;
    auto& items = ShownItems();
    const auto rows = MarkedItemRows();
    if (rows.empty()) return true;
    for (int row : rows) {
        CPcgItem& item = items[size_t(row)];
        if (IsQe()) {
            if (!item.data.empty()) {
                item.data.clear();
                setItemName(item, kEmptiedQeName, 'F');
            }
            item.model = 'F';
        } else {
            std::fill(item.data.begin(), item.data.end(), uint8_t(0));
            std::string name(ShowsPrograms() ? "EMPTYPRG" : "EMPTYDRM");
            name.resize(pcg::RecordNameWidth(model), ' ');
            setItemName(item, name, uint32_t(model));
            item.model = uint32_t(model);
        }
    }
    Port().RedrawAll();
    modified = true;
    return true;
}

std::vector<uint8_t> PcgDocModel::ItemFileImage(int index) const
{
    // "DASK", the document's model letter; Qe documents then a 34-byte header
    // (u32 data size at 0, u32 bank at 12, 18-byte name at 16); the record.
    const CPcgItem& item = ShownItems()[size_t(index)];
    ByteWriter out;
    WriteItemFileHead(out, uint8_t(model));
    if (IsQe()) {
        out.u32le(item.Size());
        out.fill(0, 8);
        out.u32le(uint32_t(item.bank));
        out.bytes(reinterpret_cast<const uint8_t*>(item.name.data()), 18);
    }
    out.bytes(item.data);
    return out.take();
}

// Import

int PcgDocModel::ItemLimit() const
{
    // A position each in a Qe bank, a record each in a Wq layout.
    if (IsQe()) return CQeBank::PositionLimit(pcg::kProgramItemType, false);
    if (const auto layout = WqPcgFile::LayoutOf(model))
        return ShowsPrograms() ? layout->programs : layout->drumKits;
    return ShowsPrograms() ? pcg::kMaxPrograms : pcg::kMaxDrumKits;
}

const ItemFileKind& PcgDocModel::ShownFileKind() const
{
    static constexpr ItemFileKind kWpf{"WPF", "WqProgram Files (*.WPF)|*.WPF||", "Import Programs",
                                       "WqProgram Files (*.WPF)|*.WPF||", "Error: Not WPF file type: %s"};
    static constexpr ItemFileKind kWdk{"WDK", "WqDrumKit Files (*.WDK)|*.WDK||", "Import DrumKit",
                                       "WqDrumKit Files (*.WDK)|*.WDK||", "Error: Not WDK file type: %s"};
    return ShowsPrograms() ? kWpf : kWdk;
}

ItemResult PcgDocModel::ImportItemFile(const std::string& file)
{
    return ShowsPrograms() ? ImportPcg(file) : ImportDrumKit(file);
}

PcgItemResult PcgDocModel::ImportPcg(const std::string& file)
{
    std::vector<uint8_t> bytes;
    const FileIoError error = readWholeFile(file, bytes, kMaxItemFile);
    if (error == FileIoError::TooLarge) return Refused(DocMessage::Numbered(27, "ImportProgram", DocIcon::Stop));
    if (error == FileIoError::OpenFailed)
        return Refused(DocMessage::Text("Cannot open file - %d", {std::to_string(int(error))}, "ImportPcg",
                                        DocIcon::Stop));
    if (error != FileIoError::None)
        return Refused(DocMessage::Text("Error reading item format - %d", {std::to_string(int(error))}, "ImportPcg",
                                        DocIcon::Stop));
    return ImportPcgImage(bytes);
}

PcgItemResult PcgDocModel::ImportPcgImage(std::span<const uint8_t> bytes)
{
    const auto numbered = [this](int message, const char* caption = "ImportPcg") {
        return Refused(DocMessage::Numbered(message, caption, DocIcon::Stop));
    };
    const auto letter = ReadItemFileHead(bytes);
    if (!letter) return bytes.size() < kItemFileHeadSize ? numbered(15) : numbered(26);
    sourceModel = *letter;
    const auto rest = bytes.subspan(kItemFileHeadSize);

    CPcgItem item;
    if (!IsQe()) {
        if (pcg::IsQeModel(sourceModel)) return numbered(39);
        if (pcg::IsFamilyB(sourceModel) && !pcg::IsFamilyB(model)) return numbered(40);
        // An item of no Wq model has no size to check and no layout to read.
        if (!pcg::IsWqModel(sourceModel)) return numbered(26);
        if (rest.size() != pcg::ProgramRecordSize(sourceModel)) return numbered(27, "ImportProgram");
        item.data.assign(rest.begin(), rest.end());
        AdoptModelIfEmpty(sourceModel);
        item.position = uint32_t(ProgramCount());
        item.model = uint32_t(sourceModel);
        setItemName(item, item.data, uint32_t(sourceModel));
    } else {
        if (!pcg::IsQeModel(sourceModel)) return numbered(38);
        if (rest.size() < kQeItemHeader) return numbered(15);
        ByteCursor header(rest.first(kQeItemHeader));
        const uint32_t size = header.u32le();
        // The header's size must be the rest of the file: nothing is taken on its word.
        if (size != rest.size() - kQeItemHeader) return numbered(27, "ImportProgram");
        header.seek(16);
        const auto name = header.bytes(18);
        const auto data = rest.subspan(kQeItemHeader);
        if (!AcceptsImportedQeItemData(data, uint8_t(pcg::kProgramItemType), "ImportPcg"))
            return PcgItemResult::Failed;
        item.data.assign(data.begin(), data.end());
        item.position = uint32_t(ProgramCount());
        item.resourceIndex = item.bankPosition = ProgramCount();
        item.model = uint32_t(sourceModel);
        setItemName(item, name, uint32_t(sourceModel));
        item.kind = pcg::kProgramItemType;
        item.bank = BankForNewQeProgram();
    }
    const int index = ProgramCount();
    programs.push_back(std::move(item));

    if (!IsQe() && model != sourceModel) {
        const int r = ConvertProgram(sourceModel, model, index);
        if (r != 0) {
            // The refused item does not stay behind the list's count.
            programs.pop_back();
            if (r == -2) return PcgItemResult::CloseDocument;
            return numbered(28, "ImportProgram");
        }
    }
    Port().RowsInserted(index, 1);
    if (ProgramCount() == 1) {
        if (!IsQe()) fileKind = familyFileKind(model);
        Port().Refill();
    }
    return PcgItemResult::Added;
}

PcgItemResult PcgDocModel::ImportDrumKit(const std::string& file)
{
    std::vector<uint8_t> bytes;
    const FileIoError error = readWholeFile(file, bytes, kMaxItemFile);
    if (error == FileIoError::TooLarge) return Refused(DocMessage::Numbered(14, "ImportDrumKit"));
    if (error == FileIoError::OpenFailed)
        return Refused(DocMessage::Text("Cannot open file - %d", {std::to_string(int(error))}, "ImportDrumKit",
                                        DocIcon::Stop));
    if (error != FileIoError::None)
        return Refused(DocMessage::Text("Error reading item format - %d", {std::to_string(int(error))},
                                        "ImportDrumKit", DocIcon::Stop));
    return ImportDrumKitImage(bytes);
}

PcgItemResult PcgDocModel::ImportDrumKitImage(std::span<const uint8_t> bytes)
{
    const auto numbered = [this](int message, DocIcon icon = DocIcon::Stop) {
        return Refused(DocMessage::Numbered(message, "ImportDrumKit", icon));
    };
    if (bytes.size() < kItemFileHeadSize) return numbered(13);
    const auto letter = ReadItemFileHead(bytes);
    if (!letter) return numbered(26);
    sourceModel = *letter;
    if (pcg::IsQeModel(sourceModel) || IsQe()) return numbered(39);
    if (pcg::IsFamilyB(sourceModel) && !pcg::IsFamilyB(model)) return numbered(41);
    if (!pcg::IsWqModel(sourceModel)) return numbered(26);
    const auto kit = bytes.subspan(kItemFileHeadSize);
    if (kit.size() != pcg::DrumKitSize(sourceModel)) return numbered(14, DocIcon::None);

    CPcgItem item;
    item.data.assign(kit.begin(), kit.end());
    AdoptModelIfEmpty(sourceModel);
    item.position = uint32_t(DrumKitCount());
    item.model = uint32_t(sourceModel);
    setItemName(item, item.data, uint32_t(sourceModel));
    const int index = DrumKitCount();
    drumKits.push_back(std::move(item));

    if (model != sourceModel) {
        const int r = ConvertDrumKit(sourceModel, model, index);
        if (r != 0) {
            drumKits.pop_back();
            if (r == -2) return PcgItemResult::CloseDocument;
            return numbered(28);
        }
    }
    Port().RowsInserted(index, 1);
    return PcgItemResult::Added;
}

void PcgDocModel::AdoptModelIfEmpty(int itemModel)
{
    if (model != ' ' && !(programs.empty() && drumKits.empty())) return;
    if (pcg::IsQeModel(model) != pcg::IsQeModel(itemModel)) return;
    if (pcg::IsQeModel(itemModel)) return; // every Qe program document is 'F'
    const bool changed = model != itemModel;
    model = itemModel;
    fileKind = familyFileKind(itemModel);
    if (changed) Port().Refill();
}

int PcgDocModel::BankForNewQeProgram()
{
    if (!programs.empty() && firstBank >= 0) return firstBank;
    firstBank = 9;
    return firstBank;
}

// Conversions

int PcgDocModel::ConvertProgram(int source, int target, int index)
{
    if (index < 0 || index >= ProgramCount()) return -1;
    if (source == '9' && target == 'I') return ConvertPrgWQ8ToWQ41(index);
    if (source == '9' && target == 'M') return ConvertPrgWQ8ToWQR65(index);
    if (source == 'I' && target == 'M') return ConvertPrgWq41ToWqR65(index);
    if (source == 'M' && target == 'I') return ConvertPrgWqR65ToWq41(index);
    if (pcg::IsFamilyB(source) && target == '9') return RefuseConversionToWq8();
    return -1;
}

int PcgDocModel::ConvertDrumKit(int source, int target, int index)
{
    if (index < 0 || index >= DrumKitCount()) return -1;
    if (source == '9' && target == 'I') return ConvertDrmWQ8ToWQ41(index);
    if (source == '9' && target == 'M') return ConvertDrmWQ8ToWqR65(index);
    if (source == 'I' && target == 'M') return ConvertDrmWq41ToWqR65(index);
    if (source == 'M' && target == 'I') return ConvertDrmWqR65ToWq41(index);
    if (pcg::IsFamilyB(source) && target == '9') return RefuseConversionToWq8();
    return -1;
}

int PcgDocModel::ConvertPrgWQ8ToFamilyB(int index, int target)
{
    CPcgItem& item = programs[size_t(index)];
    auto record = Wq8ProgramToFamilyB(item.data, builtInWq8SoundMap());
    if (!record) return -1;
    item.data = std::move(*record);
    item.model = uint32_t(target);
    setItemName(item, item.data, uint32_t(target));
    return 0;
}

int PcgDocModel::ConvertPrgWQ8ToWQ41(int index)
{
    return ConvertPrgWQ8ToFamilyB(index, 'I');
}

int PcgDocModel::ConvertPrgWQ8ToWQR65(int index)
{
    return ConvertPrgWQ8ToFamilyB(index, 'M');
}

// Wq41 and WqR65 programs share one layout: only the model letter changes.
int PcgDocModel::ConvertPrgWq41ToWqR65(int index)
{
    programs[size_t(index)].model = 'M';
    return 0;
}

int PcgDocModel::ConvertPrgWqR65ToWq41(int index)
{
    programs[size_t(index)].model = 'I';
    return 0;
}

// The kit word at record offset 20: the Wq41 numbers its eight kits 0-7, the
// WqR65 keeps its user kits as 14 and 15.
static uint16_t kitWord(int target, int index)
{
    return target == 'I' ? uint16_t(index % 8) : uint16_t(index % 2 == 0 ? 14 : 15);
}

int PcgDocModel::ConvertDrmWQ8ToFamilyB(int index, int target)
{
    CPcgItem& item = drumKits[size_t(index)];
    auto kit = Wq8DrumKitToFamilyB(item.data, kitWord(target, index), builtInWq8DrumSoundMap());
    if (!kit) return -1;
    item.data = std::move(*kit);
    item.model = uint32_t(target);
    setItemName(item, item.data, uint32_t(target));
    return 0;
}

int PcgDocModel::ConvertDrmWQ8ToWQ41(int index)
{
    return ConvertDrmWQ8ToFamilyB(index, 'I');
}

int PcgDocModel::ConvertDrmWQ8ToWqR65(int index)
{
    return ConvertDrmWQ8ToFamilyB(index, 'M');
}

int PcgDocModel::SetDrumKitWord(int index, int target)
{
    CPcgItem& item = drumKits[size_t(index)];
    if (item.data.size() < 22) return -1;
    const uint16_t word = kitWord(target, index);
    item.data[20] = uint8_t(word);
    item.data[21] = uint8_t(word >> 8);
    item.model = uint32_t(target);
    return 0;
}

int PcgDocModel::ConvertDrmWq41ToWqR65(int index)
{
    return SetDrumKitWord(index, 'M');
}

int PcgDocModel::ConvertDrmWqR65ToWq41(int index)
{
    return SetDrumKitWord(index, 'I');
}

// Save

std::optional<std::vector<uint8_t>> PcgDocModel::BuildFileImage()
{
    return IsQe() ? BuildQeImage() : BuildWqImage();
}

std::optional<std::vector<uint8_t>> PcgDocModel::BuildWqImage()
{
    const auto layout = WqPcgFile::LayoutOf(model);
    if (!layout) {
        Notify(DocMessage::Numbered(47, "OnSaveDocument", DocIcon::Stop));
        return std::nullopt;
    }
    // The file has fixed room: a longer list is refused, a shorter one is
    // filled with emptied records.
    const auto tooMany = [this](size_t count, int room) {
        Notify(DocMessage::Text("Cannot save: the list holds %d items, the file has room for %d",
                                {std::to_string(count), std::to_string(room)}, "OnSaveDocument", DocIcon::Stop));
        return std::nullopt;
    };
    if (programs.size() > size_t(layout->programs)) return tooMany(programs.size(), layout->programs);
    if (drumKits.size() > size_t(layout->drumKits)) return tooMany(drumKits.size(), layout->drumKits);
    WqPcgFile file;
    // A new document, or one that changed family, gets a head of its own.
    if (head.size() == layout->head && head[4] == model) file.head = head;
    for (const auto& p : programs)
        file.programs.push_back(p.data);
    file.programs.resize(size_t(layout->programs), std::vector<uint8_t>(layout->record, 0));
    for (const auto& k : drumKits)
        file.drumKits.push_back(k.data);
    file.drumKits.resize(size_t(layout->drumKits), std::vector<uint8_t>(layout->record + layout->map, 0));
    auto built = file.Build(model);
    if (!built) Notify(DocMessage::Numbered(47, "OnSaveDocument", DocIcon::Stop));
    return built;
}

std::optional<std::vector<uint8_t>> PcgDocModel::BuildQeImage()
{
    return BuildQeFileImage(programs, uint8_t(pcg::kProgramItemType), firstBank);
}

} // namespace zib
