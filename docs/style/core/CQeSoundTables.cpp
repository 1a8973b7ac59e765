#include "docs/style/core/CQeSoundTables.h"

#include "platform/DataDir.h"
#include "platform/FileIo.h"

#include <charconv>

namespace zib {

namespace {

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> out;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return out;
        start = tab + 1;
    }
}

bool parseByte(std::string_view text, uint8_t& value)
{
    unsigned v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v > 255) return false;
    value = uint8_t(v);
    return true;
}

} // namespace

void CQeSoundTables::LoadText(Table table, std::string_view text)
{
    const size_t t = size_t(table);
    const std::string file = kFileNames[t];
    size_t lineNumber = 0;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == '#') continue;
        const auto fields = splitTabs(line);
        Row row;
        if (fields.size() != 4 || !parseByte(fields[0], row.msb) || !parseByte(fields[1], row.lsb) ||
            !parseByte(fields[2], row.program) || fields[3].empty() || fields[3].size() > 49) {
            problems_.push_back(file + " line " + std::to_string(lineNumber) + ": not a sound row");
            continue;
        }
        row.name = std::string(fields[3]);
        if (!index_[t].emplace(Key(row.msb, row.lsb, row.program), tables_[t].size()).second) {
            problems_.push_back(file + " line " + std::to_string(lineNumber) + ": address listed twice");
            continue;
        }
        tables_[t].push_back(std::move(row));
    }
    if (tables_[t].size() != kRowCounts[t])
        problems_.push_back(file + ": " + std::to_string(tables_[t].size()) + " rows instead of " +
                            std::to_string(kRowCounts[t]));
}

CQeSoundTables CQeSoundTables::LoadFiles(const std::filesystem::path& dataFolder)
{
    CQeSoundTables tables;
    for (size_t t = 0; t < kFileNames.size(); ++t) {
        const std::filesystem::path path = dataFolder / kFileNames[t];
        std::vector<uint8_t> bytes;
        if (readWholeFile(path, bytes, 1u << 24) != FileIoError::None) {
            tables.problems_.push_back(path.string() + ": cannot be read");
            continue;
        }
        tables.LoadText(Table(t), std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    return tables;
}

const CQeSoundTables& CQeSoundTables::BuiltIn()
{
    static const CQeSoundTables tables = LoadFiles(dataDir());
    return tables;
}

bool CQeSoundTables::TableOf(int soundSet, uint8_t msb, Table& table)
{
    if ((soundSet != 0 && soundSet != 1) || (msb != 121 && msb != 120)) return false;
    table = soundSet == 0 ? (msb == 121 ? Table::Qe4kMelodic : Table::Qe4kDrums)
                          : (msb == 121 ? Table::Qe9zMelodic : Table::Qe9zDrums);
    return true;
}

const CQeSoundTables::Row* CQeSoundTables::Find(int soundSet, uint8_t msb, uint8_t lsb, uint8_t program) const
{
    Table table;
    if (!TableOf(soundSet, msb, table)) return nullptr;
    const auto& index = index_[size_t(table)];
    const auto it = index.find(Key(msb, lsb, program));
    return it == index.end() ? nullptr : &tables_[size_t(table)][it->second];
}

const CQeSoundTables::Row* CQeSoundTables::FindLinear(int soundSet, uint8_t msb, uint8_t lsb, uint8_t program) const
{
    Table table;
    if (!TableOf(soundSet, msb, table)) return nullptr;
    for (const Row& row : Rows(table))
        if (row.msb == msb && row.lsb == lsb && row.program == program) return &row;
    return nullptr;
}

} // namespace zib
