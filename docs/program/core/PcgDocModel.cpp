#include "docs/program/core/PcgDocModel.h"

#include "docs/program/core/PcgLayout.h"
#include "docs/program/core/WqPcgConversions.h"
#include "docs/program/core/WqPcgFile.h"
#include "docs/style/core/CQePcgBank.h"
#include "docs/style/core/ItemBuilders.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "midi/ValueTexts.h"
#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"
#include "platform/FileIo.h"
#include "ulvarf/ulvarf.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>

namespace zib {

namespace {

constexpr size_t kQeItemHeader = 34;
constexpr size_t kMaxItemFile = 16u << 20; // far above any program item
constexpr const char* kEmptyQeName = "** (N/A) EMPTY **";
constexpr const char* kEmptiedQeName = "** (N/A) Empty ** ";

std::string upperTail(std::string_view text, size_t n)
{
    std::string tail(text.substr(text.size() >= n ? text.size() - n : 0));
    for (char& c : tail)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return tail;
}

constexpr uint32_t kProgramType = 4;

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

} // namespace

PcgDocModel::PcgDocModel(StyNoticeSink notify) : notify_(std::move(notify)) {}

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
}

bool PcgDocModel::OpenImage(const std::string& filePath, std::vector<uint8_t> fileImage)
{
    path = filePath;
    if (fileImage.empty()) {
        Notify(StyNotice::Numbered(46));
        return false;
    }
    image = std::move(fileImage);
    return ParseFile();
}

int PcgDocModel::CheckExtension(std::string_view filePath)
{
    const std::string ext = upperTail(filePath, 4);
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
    ByteCursor in(image);
    if (in.match("DASK") && in.has(1)) {
        model = in.u8();
        if (pcg::IsWqModel(model)) return true;
        if (CheckDasfHead()) return true;
        Notify(StyNotice::Numbered(18));
        return false;
    }
    if (CheckDasfHead()) return true;
    Notify(StyNotice::Numbered(17));
    return false;
}

bool PcgDocModel::CheckDasfHead()
{
    static constexpr uint8_t kRootInfo[8] = {0x02, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x0C};
    ByteCursor in(image);
    bool ok = image.size() >= 27;
    ok = ok && in.skip(4) && in.u32be() == image.size() - 8;
    ok = ok && std::equal(std::begin(kRootInfo), std::end(kRootInfo), image.begin() + 8);
    ok = ok && std::string_view(reinterpret_cast<const char*>(image.data()) + 23, 4) == "DASF";
    if (!ok) {
        Notify(StyNotice::Numbered(17));
        return false;
    }
    model = 'F';
    return true;
}

bool PcgDocModel::ParseWqSerPcg()
{
    const auto layout = WqPcgFile::LayoutOf(model);
    // The head's length follows the extension: a layout of the other family
    // under this extension is not read.
    headLength_ = fileKind == pcg::kFileKindPcg ? 791 : pcg::IsFamilyB(model) ? 48 : 0;
    if (!layout || layout->head != headLength_) {
        Notify(StyNotice::Numbered(19, "ParseWqSerPcg"));
        return false;
    }
    WqPcgFile file;
    if (file.Parse(image, model, headLength_) != WqPcgFile::Error::None) {
        Notify(StyNotice::Numbered(14, "ParseWqSerPrg"));
        return false;
    }
    head = std::move(file.head);
    for (size_t i = 0; i < file.programs.size(); ++i) {
        CPcgItem item;
        if (!GetItem(item, file.programs[i], uint32_t(model), fileKind, false, notify_)) {
            programs.clear();
            return false;
        }
        item.position = uint32_t(i);
        programs.push_back(std::move(item));
    }
    // A drum kit: its head read as a program record, then its map behind it.
    const size_t record = pcg::ProgramRecordSize(model);
    for (size_t k = 0; k < file.drumKits.size(); ++k) {
        CPcgItem item;
        if (!GetItem(item, file.drumKits[k], uint32_t(model), fileKind, true, notify_)) {
            programs.clear();
            drumKits.clear();
            return false;
        }
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
    if (!container) {
        Notify(StyNotice::Numbered(31, "ParsePcg"));
        return false;
    }
    CQePcgBank bank;
    if (!bank.EnumIndex(container.get())) {
        Notify(StyNotice::Numbered(17, "ParsePcg"));
        return false;
    }
    const int maxPosition = bank.GetMaxPosition();
    for (int p = 0; p <= maxPosition; ++p) {
        const int index = bank.FindByPosition(p);
        CPcgItem item;
        if (index == -1) {
            item.model = 'F';
            item.SetName(kEmptyQeName);
            item.resourceIndex = item.bankPosition = item.bank = -1;
        } else {
            if (!GetQEItem(item, container.get(), index, 'F', notify_)) {
                programs.clear();
                return false;
            }
            const QeBankEntry& entry = bank.entries[size_t(index)];
            item.SetName(std::string_view(entry.name.data(), entry.name.size()));
            item.resourceIndex = entry.resourceIndex;
            item.bankPosition = entry.position;
            item.bank = entry.bank;
            if (firstBank == -1) firstBank = entry.bank;
        }
        item.position = uint32_t(p);
        ConvertItemName(item.name, 'F', 1);
        item.kind = kProgramType;
        programs.push_back(std::move(item));
    }
    if (bank.changed)
        Notify(StyNotice::Text(
            "Found data resources with incorrect bank/position !!!\n\nParsing function rearranged data resources "
            "trying to display all valid style items\nYou must be aware that displayed item order does not "
            "correspond to what is\nfound inside original file. When saving file, new (rearranged) order will be "
            "saved!!!",
            {}, "ParseQESty", StyNoticeIcon::Exclamation));
    return true;
}

void PcgDocModel::DeleteContents()
{
    image.clear();
    programs.clear();
    drumKits.clear();
}

// Item commands

std::vector<int> PcgDocModel::MarkedRows(const std::vector<int>& selected, int focused) const
{
    const int count = int(ShownItems().size());
    std::set<int> rows;
    for (int row : selected)
        if (row >= 0 && row < count) rows.insert(row);
    if (rows.empty() && focused >= 0 && focused < count) rows.insert(focused);
    return {rows.rbegin(), rows.rend()}; // last first
}

void PcgDocModel::RenumberPositions(std::vector<CPcgItem>& items)
{
    for (size_t i = 0; i < items.size(); ++i)
        items[i].position = uint32_t(i);
}

bool PcgDocModel::DeleteItems(const std::vector<int>& selected, int focused)
{
    const auto rows = MarkedRows(selected, focused);
    if (rows.empty()) return true;
    auto& items = ShownItems();
    for (int row : rows)
        items.erase(items.begin() + row);
    RenumberPositions(items);
    modified = true;
    return true;
}

bool PcgDocModel::EmptyItems(const std::vector<int>& selected, int focused)
{
    if (!IsQe() && shownList != pcg::kShowPrograms && shownList != pcg::kShowDrumKits) return false;
    const auto rows = MarkedRows(selected, focused);
    auto& items = ShownItems();
    for (int row : rows) {
        CPcgItem& item = items[size_t(row)];
        if (IsQe()) {
            if (item.data.empty()) continue;
            item.data.clear();
            setItemName(item, kEmptiedQeName, 'F');
            item.model = 'F';
        } else {
            std::fill(item.data.begin(), item.data.end(), uint8_t(0));
            std::string name(ShowsPrograms() ? "EMPTYPRG" : "EMPTYDRM");
            name.resize(pcg::RecordNameWidth(model), ' ');
            setItemName(item, name, uint32_t(model));
            item.model = uint32_t(model);
        }
    }
    if (!rows.empty()) modified = true;
    return true;
}

std::vector<uint8_t> PcgDocModel::ItemFileImage(const CPcgItem& item) const
{
    // "DASK", the document's model letter; Qe documents then a 34-byte header
    // (u32 data size at 0, u32 bank at 12, 18-byte name at 16); the record.
    ByteWriter out;
    out.text("DASK");
    out.u8(uint8_t(model));
    if (IsQe()) {
        out.u32le(item.Size());
        out.fill(0, 8);
        out.u32le(uint32_t(item.bank));
        std::string name = item.NameText();
        name.resize(18, '\0');
        out.text(name);
    }
    out.bytes(item.data);
    return out.take();
}

bool PcgDocModel::ExtractItem(int index, const std::filesystem::path& file)
{
    const auto& items = ShownItems();
    if (index < 0 || index >= int(items.size())) return false;
    const FileIoError error = writeFileAtomically(file, ItemFileImage(items[size_t(index)]));
    if (error == FileIoError::None) return true;
    if (error == FileIoError::OpenFailed)
        Notify(StyNotice::Numbered(9, "Extract Item", StyNoticeIcon::Stop));
    else
        Notify(StyNotice::Text("Error writing item data. Index: %d, errorcode: %d",
                               {std::to_string(index), std::to_string(int(error))}, "ExtractItem",
                               StyNoticeIcon::Stop));
    return false;
}

std::string PcgDocModel::ExtractFileName(int index) const
{
    const auto& items = ShownItems();
    if (index < 0 || index >= int(items.size())) return {};
    std::string name = items[size_t(index)].NameText();
    MakeValidFileName(name);
    return name;
}

std::vector<std::pair<int, std::string>> PcgDocModel::ExtractAllNames() const
{
    const auto& items = ShownItems();
    const char* extension = ShowsPrograms() ? ".WPF" : ".WDK";
    std::set<std::string> used;
    std::vector<std::pair<int, std::string>> names;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].data.empty()) continue;
        // Items of the same name get a number: "Piano.WPF", "Piano_2.WPF" ...
        std::string base = ExtractFileName(int(i));
        if (base.empty()) base = "Item" + std::to_string(i + 1);
        std::string name = base;
        for (int n = 2; !used.insert(name).second; ++n)
            name = base + "_" + std::to_string(n);
        names.emplace_back(int(i), name + extension);
    }
    return names;
}

// Import

bool PcgDocModel::CanImport()
{
    const bool full = ShowsPrograms() ? ProgramCount() >= pcg::kMaxPrograms : DrumKitCount() >= pcg::kMaxDrumKits;
    if (full) Notify(StyNotice::Numbered(25, "ImportItem"));
    return !full;
}

bool PcgDocModel::ImportItems(const std::vector<std::string>& files, bool* closeDocument)
{
    const bool importPrograms = ShowsPrograms();
    const std::string expected = importPrograms ? "WPF" : "WDK";
    importBusy = true;
    bool ok = true;
    bool added = false;
    for (const std::string& file : files) {
        const bool full =
            importPrograms ? ProgramCount() >= pcg::kMaxPrograms : DrumKitCount() >= pcg::kMaxDrumKits;
        if (full) {
            Notify(StyNotice::Numbered(25, "ImportItem"));
            break;
        }
        const std::string ext = upperTail(file, 3);
        if (ext != expected) {
            Notify(StyNotice::Text(importPrograms ? "Error: Not WPF file type: %s" : "Error: Not WDK file type: %s",
                                   {ext}, "ImportItem"));
            // Items imported before the refused file stay and must be saved.
            if (added) modified = true;
            importBusy = false;
            return false;
        }
        const PcgItemResult r = importPrograms ? ImportPcg(file) : ImportDrumKit(file);
        if (r == PcgItemResult::CloseDocument) {
            if (closeDocument) *closeDocument = true;
            importBusy = false;
            return false;
        }
        if (r != PcgItemResult::Added) {
            ok = false;
            break;
        }
        added = true;
    }
    modified = true;
    importBusy = false;
    return ok;
}

PcgItemResult PcgDocModel::ImportPcg(const std::string& file)
{
    const auto fail = [this](StyNotice notice) {
        Notify(notice);
        return PcgItemResult::Failed;
    };
    const auto numbered = [&fail](int message, const char* caption = "ImportPcg") {
        return fail(StyNotice::Numbered(message, caption, StyNoticeIcon::Stop));
    };
    std::vector<uint8_t> bytes;
    const FileIoError error = readWholeFile(file, bytes, kMaxItemFile);
    if (error == FileIoError::TooLarge) return numbered(27, "ImportProgram");
    if (error != FileIoError::None)
        return fail(StyNotice::Text(error == FileIoError::OpenFailed ? "Cannot open file - %d"
                                                                      : "Error reading item format - %d",
                                    {std::to_string(int(error))}, "ImportPcg", StyNoticeIcon::Stop));
    return ImportPcgImage(bytes);
}

PcgItemResult PcgDocModel::ImportPcgImage(std::span<const uint8_t> bytes)
{
    const auto fail = [this](StyNotice notice) {
        Notify(notice);
        return PcgItemResult::Failed;
    };
    const auto numbered = [&fail](int message, const char* caption = "ImportPcg") {
        return fail(StyNotice::Numbered(message, caption, StyNoticeIcon::Stop));
    };
    ByteCursor in(bytes);
    if (!in.match("DASK") || !in.has(1)) return numbered(26);
    importModel = in.u8();

    CPcgItem item;
    if (!IsQe()) {
        if (pcg::IsQeModel(importModel)) return numbered(39);
        if (pcg::IsFamilyB(importModel) && !pcg::IsFamilyB(model)) return numbered(40);
        // An item of no Wq model is not taken.
        if (!pcg::IsWqModel(importModel)) return numbered(26);
        if (in.remaining() != pcg::ProgramRecordSize(importModel)) return numbered(27, "ImportProgram");
        const auto record = in.bytes(in.remaining());
        item.data.assign(record.begin(), record.end());
        if (model == ' ' || (programs.empty() && drumKits.empty())) model = importModel;
        item.position = uint32_t(ProgramCount());
        item.model = uint32_t(importModel);
        setItemName(item, item.data, uint32_t(importModel));
    } else {
        if (!pcg::IsQeModel(importModel)) return numbered(38);
        if (!in.has(kQeItemHeader))
            return fail(StyNotice::Text("Error reading QE4K item header data - %d", {"0"}, "ImportPcg",
                                        StyNoticeIcon::Stop));
        ByteCursor header = in.sub(kQeItemHeader);
        const uint32_t size = header.u32le();
        header.seek(16);
        const auto name = header.bytes(18);
        // The header's size must be there: a shorter file is a short read.
        if (!in.has(size)) return numbered(15);
        const auto data = in.bytes(size);
        item.data.assign(data.begin(), data.end());
        item.position = uint32_t(ProgramCount());
        item.resourceIndex = item.bankPosition = ProgramCount();
        item.model = uint32_t(importModel);
        setItemName(item, name, uint32_t(importModel));
        item.kind = kProgramType;
        item.bank = BankForNewQeProgram();
    }
    const int index = ProgramCount();
    programs.push_back(std::move(item));

    if (!IsQe() && model != importModel) {
        const int r = ConvertProgram(importModel, model, index);
        if (r != 0) {
            // The refused item does not stay behind the list's count.
            programs.pop_back();
            if (r == -2) return PcgItemResult::CloseDocument;
            Notify(StyNotice::Numbered(28, "ImportProgram", StyNoticeIcon::Stop));
            return PcgItemResult::Failed;
        }
    }
    if (ProgramCount() == 1) fileKind = pcg::IsFamilyB(model) ? pcg::kFileKindPrg : pcg::kFileKindPcg;
    return PcgItemResult::Added;
}

PcgItemResult PcgDocModel::ImportDrumKit(const std::string& file)
{
    const auto fail = [this](StyNotice notice) {
        Notify(notice);
        return PcgItemResult::Failed;
    };
    const auto numbered = [&fail](int message, StyNoticeIcon icon = StyNoticeIcon::Stop) {
        return fail(StyNotice::Numbered(message, "ImportDrumKit", icon));
    };
    std::vector<uint8_t> bytes;
    const FileIoError error = readWholeFile(file, bytes, kMaxItemFile);
    if (error == FileIoError::TooLarge) return numbered(14, StyNoticeIcon::None);
    if (error != FileIoError::None)
        return fail(StyNotice::Text(error == FileIoError::OpenFailed ? "Cannot open file - %d"
                                                                      : "Error reading item format - %d",
                                    {std::to_string(int(error))}, "ImportDrumKit", StyNoticeIcon::Stop));
    return ImportDrumKitImage(bytes);
}

PcgItemResult PcgDocModel::ImportDrumKitImage(std::span<const uint8_t> bytes)
{
    const auto fail = [this](StyNotice notice) {
        Notify(notice);
        return PcgItemResult::Failed;
    };
    const auto numbered = [&fail](int message, StyNoticeIcon icon = StyNoticeIcon::Stop) {
        return fail(StyNotice::Numbered(message, "ImportDrumKit", icon));
    };
    if (bytes.size() < 5) return numbered(13);
    ByteCursor in(bytes);
    if (!in.match("DASK")) return numbered(26);
    importModel = in.u8();

    if (pcg::IsQeModel(importModel)) return numbered(39);
    if (pcg::IsFamilyB(importModel) && !pcg::IsFamilyB(model)) return numbered(41);
    if (!pcg::IsWqModel(importModel)) return numbered(26);
    if (pcg::IsFamilyA(importModel) && programs.empty()) fileKind = pcg::kFileKindPcg;
    if (in.remaining() != pcg::DrumKitSize(importModel)) return numbered(14, StyNoticeIcon::None);

    CPcgItem item;
    const auto kit = in.bytes(in.remaining());
    item.data.assign(kit.begin(), kit.end());
    if (model == ' ' || (programs.empty() && drumKits.empty())) model = importModel;
    item.position = uint32_t(DrumKitCount());
    item.model = uint32_t(importModel);
    setItemName(item, item.data, uint32_t(importModel));
    const int index = DrumKitCount();
    drumKits.push_back(std::move(item));

    if (model != importModel) {
        const int r = ConvertDrumKit(importModel, model, index);
        if (r != 0) {
            drumKits.pop_back();
            if (r == -2) return PcgItemResult::CloseDocument;
            Notify(StyNotice::Numbered(28, "ImportDrumKit", StyNoticeIcon::Stop));
            return PcgItemResult::Failed;
        }
    }
    return PcgItemResult::Added;
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
    if (IsQe()) return BuildQeImage();
    WqPcgFile file;
    file.head = head;
    for (const auto& p : programs)
        file.programs.push_back(p.data);
    for (const auto& k : drumKits)
        file.drumKits.push_back(k.data);
    auto built = file.Build(model);
    if (!built) Notify(StyNotice::Numbered(47, "OnSaveDocument", StyNoticeIcon::Stop));
    return built;
}

std::optional<std::vector<uint8_t>> PcgDocModel::BuildQeImage()
{
    const auto refuse = [this](int message) {
        Notify(StyNotice::Numbered(message, "OnSaveDocument", StyNoticeIcon::Stop));
        return std::nullopt;
    };
    if (std::none_of(programs.begin(), programs.end(), [](const CPcgItem& p) { return !p.data.empty(); }))
        return refuse(16);
    UlrfContainerPtr container(_ULRFCreateInstance(nullptr, 0));
    if (!container) return refuse(48);
    for (const CPcgItem& item : programs) {
        if (item.data.empty()) continue;
        // Only program resources belong in a program file.
        if (item.data[0] != kProgramType) return refuse(47);
        UlrfResInstancePtr resource(_ULRFCreateResInstance(item.data.data(), item.Size()));
        if (!resource) return refuse(47);
        const int index = _ULRFInsertResource(container.get(), -1, resource.get());
        if (index < 0) return refuse(47);
        const int bank = firstBank >= 0 ? firstBank : std::max(item.bank, 0);
        const std::string name = item.NameText().substr(0, 17);
        if (!_ULRFModifyIndex(container.get(), index, name.c_str(), bank & 0xFF, int(item.position) & 0xFF))
            return refuse(47);
    }
    const int size = _ULRFOutBufferSize(container.get());
    if (size <= 0) return refuse(48);
    std::vector<uint8_t> out(static_cast<size_t>(size));
    if (!_ULRFFillOutBuffer(container.get(), out.data())) return refuse(48);
    return out;
}

} // namespace zib
