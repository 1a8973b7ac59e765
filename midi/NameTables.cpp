#include "midi/NameTables.h"

#include <array>

namespace zib {

namespace {

// Table sizes of one model. Bank tables have 64 entries of at most 19
// characters; the drum kits and bank D of model 73 allow 21.
struct ModelShape {
    int model;
    int bankCount; // 3 (A-C) or 5 (A-E)
    int bankDWidth;
    int kitCount;
    int kitWidth;
    int multisampleCount;
    int styleCount;
    int styleWidth;
};

// Kit counts: 8, 16, 28 for 57, 60, 72 and 40 for 73, 16 for 77, as the
// program documents and their drum-kit pages count them; a list that gives
// 73 sixteen kits and 77 forty would cut the Wq41 kits short.
const std::array<ModelShape, 5> kShapes = {{
    {57, 3, 19, 8, 19, 341, 48, 10},
    {60, 5, 19, 16, 19, 341, 72, 10},
    {72, 5, 19, 28, 19, 343, 104, 10},
    {73, 5, 21, 40, 21, 523, 128, 16},
    {77, 5, 19, 16, 21, 523, 128, 16},
}};

constexpr int kBankRows = 64;
constexpr int kBankWidth = 19;
constexpr int kMultisampleWidth = 16;

const ModelShape* shapeOf(int model)
{
    for (const auto& s : kShapes)
        if (s.model == model) return &s;
    return nullptr;
}

int bankNumber(NameTable table)
{
    switch (table) {
    case NameTable::BankA:
        return 0;
    case NameTable::BankB:
        return 1;
    case NameTable::BankC:
        return 2;
    case NameTable::BankD:
        return 3;
    case NameTable::BankE:
        return 4;
    default:
        return -1;
    }
}

} // namespace

bool NameTables::isWqModel(int model)
{
    return shapeOf(model) != nullptr;
}

int NameTables::rowCount(int model, NameTable table)
{
    const ModelShape* s = shapeOf(model);
    if (!s) return 0;
    if (int bank = bankNumber(table); bank >= 0) return bank < s->bankCount ? kBankRows : 0;
    switch (table) {
    case NameTable::DrumKits:
        return s->kitCount;
    case NameTable::Multisamples:
        return s->multisampleCount;
    case NameTable::StyleNames:
        return s->styleCount;
    default:
        return 0;
    }
}

int NameTables::maxWidth(int model, NameTable table)
{
    const ModelShape* s = shapeOf(model);
    if (!s || rowCount(model, table) == 0) return 0;
    switch (table) {
    case NameTable::BankD:
        return s->bankDWidth;
    case NameTable::DrumKits:
        return s->kitWidth;
    case NameTable::Multisamples:
        return kMultisampleWidth;
    case NameTable::StyleNames:
        return s->styleWidth;
    default:
        return kBankWidth;
    }
}

bool NameTables::isStoredMapDirection(int from, int to)
{
    static const std::array<std::pair<int, int>, 8> directions = {
        {{57, 77}, {57, 73}, {60, 77}, {60, 73}, {72, 77}, {72, 73}, {77, 73}, {73, 77}}};
    for (const auto& d : directions)
        if (d.first == from && d.second == to) return true;
    return false;
}

std::optional<std::string_view> NameTables::entry(int model, NameTable table, int row) const
{
    auto it = entries_.find({model, table});
    if (it == entries_.end() || row < 0 || size_t(row) >= it->second.size() ||
        it->second[size_t(row)].empty())
        return std::nullopt;
    return std::string_view(it->second[size_t(row)]);
}

const std::vector<ProgramMapRow>& NameTables::programMap(int from, int to) const
{
    static const std::vector<ProgramMapRow> none;
    auto it = maps_.find({from, to});
    return it == maps_.end() ? none : it->second;
}

bool NameTables::setEntry(int model, NameTable table, int row, std::string text)
{
    int count = rowCount(model, table);
    if (row < 0 || row >= count || text.empty()) return false;
    auto& rows = entries_[{model, table}];
    if (rows.empty()) rows.resize(size_t(count));
    if (!rows[size_t(row)].empty()) return false;
    rows[size_t(row)] = std::move(text);
    return true;
}

bool NameTables::appendMapRow(int from, int to, ProgramMapRow row)
{
    if (!isStoredMapDirection(from, to)) return false;
    maps_[{from, to}].push_back(std::move(row));
    return true;
}

} // namespace zib
