#include "docs/style/core/StyListModel.h"

#include "docs/style/core/CZibPadDoc.h"
#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/QeValueHelpers.h"
#include "midi/ProgramNames.h"
#include "midi/ValueTexts.h"
#include "platform/ByteCursor.h"

#include <cstdio>

namespace zib {

namespace {

constexpr StyColumn kWqColumns[] = {{"Style Name", 120}, {"Position", 50}, {"Size", 55}, {"Tact", 48},
                                    {"DRUM", 45},        {"PERC", 45},     {"BASS", 40}, {"ACC1", 40},
                                    {"ACC2", 40},        {"ACC3", 40}};
constexpr StyColumn kQeColumns[] = {{"Style Name", 100}, {"Bank/Position", 80}, {"Size", 55}, {"StEl", 40},
                                    {"Tact", 40},        {"DRUM", 40},          {"PERC", 40}, {"BASS", 40},
                                    {"ACC1", 40},        {"ACC2", 40},          {"ACC3", 40}, {"ACC4", 40},
                                    {"ACC5", 40}};
constexpr StyColumn kStsColumns[] = {
    {"STS Name", 100}, {"Bank/Position", 80}, {"Size", 55}, {"Ver", 40}, {"Rel", 40}};

std::string number(uint64_t value)
{
    return std::to_string(value);
}

std::string bankPosition(int bank, uint32_t position)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d / %d", bank + 1, int(position));
    return text;
}

// The per-element columns of a Qe row: element, signature, eight sounds.
std::string qeElementCell(const CStyItem& item, int column, int element)
{
    if (element < 0 || element >= 10) element = 0;
    if (column == 3) return GetQeElementShortName(element);
    if (column == 4) return GetQeSignatureText(item.signatures[size_t(element)]);
    if (column >= 5 && column <= 12)
        return GetQeSoundName(item.sounds[size_t(element)][size_t(column - 5)], int(item.version));
    return {};
}

} // namespace

std::vector<StyColumn> StyColumnSet(const CZibStyDoc& doc)
{
    if (!doc.IsQe()) return {std::begin(kWqColumns), std::end(kWqColumns)};
    if (doc.m_ViewMode == 2) return {std::begin(kStsColumns), std::end(kStsColumns)};
    return {std::begin(kQeColumns), std::end(kQeColumns)};
}

std::vector<StyColumn> PadColumnSet()
{
    return {std::begin(kQeColumns), std::end(kQeColumns)};
}

std::string StyCellText(const CZibStyDoc& doc, int row, int column, int element)
{
    const bool stsView = doc.IsQe() && doc.m_ViewMode == 2;
    const std::vector<CStyItem>& items = stsView ? doc.m_StsItems : doc.m_StyItems;
    if (row < 0 || row >= int(items.size())) return {};
    const CStyItem& item = items[size_t(row)];
    if (column == 0) return doc.m_FileKind == 2 ? item.NameText() : std::string();
    if (column == 2) return number(item.Size());
    if (doc.IsQe()) {
        if (column == 1) return bankPosition(doc.m_FirstBank, item.position);
        if (stsView) {
            if (column == 3) return number(item.version);
            if (column == 4) return number(item.release);
            return {};
        }
        return qeElementCell(item, column, element);
    }
    const bool familyB = doc.m_Model == 'I' || doc.m_Model == 'M';
    const StyleDocumentNames names = doc.ProgramNameSource();
    if (column == 1) return GetUserBankPositionText(names, int(item.position));
    if (column == 3) {
        const size_t at = familyB ? 20 : 12;
        return at < item.data.size() ? GetTimeSignatureText(item.data[at] & 127) : std::string();
    }
    if (column >= 4 && column <= 9)
        return GetItemProgramName(names, LittleWordAt(item.data, (familyB ? 46 : 38) + 4 * size_t(column - 4)));
    return {};
}

std::string PadCellText(const CZibPadDoc& doc, int row, int column, int element)
{
    if (row < 0 || row >= doc.PadCount()) return {};
    const CStyItem& pad = doc.m_PadItems[size_t(row)];
    if (column == 0) return pad.NameText();
    if (column == 1) return doc.IsQe() ? bankPosition(doc.m_FirstBank, pad.position) : std::string("???");
    if (column == 2) return number(pad.Size());
    return qeElementCell(pad, column, element);
}

int StyRowImage(const CZibStyDoc& doc, int row)
{
    if (doc.IsQe()) {
        const bool stsView = doc.m_ViewMode == 2;
        const std::vector<CStyItem>& items = stsView ? doc.m_StsItems : doc.m_StyItems;
        if (row < 0 || row >= int(items.size())) return 0;
        return items[size_t(row)].version != 0 ? 1 : 0;
    }
    return row;
}

int PadRowImage(const CZibPadDoc& doc, int row)
{
    if (row < 0 || row >= doc.PadCount()) return 0;
    return doc.m_PadItems[size_t(row)].version != 0 ? 1 : 0;
}

int ModelIconId(uint32_t model)
{
    switch (model) {
    case '9':
        return 129;
    case 'I':
        return 130;
    case 'M':
        return 131;
    case '<':
        return 132;
    case 'H':
        return 133;
    case 'F':
    case 'X':
        return 189;
    default:
        return 116;
    }
}

FileSizeCheck CheckFileSize(const CZibStyDoc& doc, bool check)
{
    FileSizeCheck result;
    const int count = doc.StyCount();
    result.tooLarge.assign(size_t(count), false);
    if (!doc.IsWq() || doc.m_FileKind != 2) return result;
    static constexpr uint64_t kBlockLimit = 0xFFE0;
    uint64_t total = 0;
    for (int first = 0; first < count; first += 4) {
        const int last = std::min(first + 4, count);
        uint64_t sum = 0;
        for (int r = first; r < last; ++r)
            sum += doc.m_StyItems[size_t(r)].Size();
        total += sum;
        if (sum <= kBlockLimit) continue;
        for (int r = first; r < last; ++r) {
            result.tooLarge[size_t(r)] = true;
            if (last - first < 4) result.select.push_back(r);
        }
    }
    if (!check) return result;
    struct Limit {
        uint64_t bytes;
        const char* text;
    };
    const Limit limit = doc.m_Model == 'I'   ? Limit{0xBFE80, "CheckFileSize: Total size: %lu larger then Wq41 size limit. Cannot save!!!"}
                        : doc.m_Model == 'M' ? Limit{0x3FF80, "CheckFileSize: Total size: %lu larger then WqR65 size limit. Cannot save!!!"}
                                             : Limit{0xFFE0, "CheckFileSize: Total size: %lu larger then Wq8 size limit. Cannot save!!!"};
    if (total > limit.bytes) {
        result.ok = false;
        result.notice = StyNotice::Text(limit.text, {number(total)}, {});
    }
    return result;
}

} // namespace zib
