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

void CQeSoundTables::LoadText(std::string_view text)
{
    static constexpr std::array<std::string_view, 4> kNames{"qe4k-melodic", "qe4k-drums", "qe9z-melodic",
                                                             "qe9z-drums"};
    size_t lineNumber = 0;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == '#') continue;
        const auto fields = splitTabs(line);
        size_t table = kNames.size();
        if (fields.size() == 5)
            for (size_t t = 0; t < kNames.size(); ++t)
                if (fields[0] == kNames[t]) table = t;
        Row row;
        if (table == kNames.size() || !parseByte(fields[1], row.msb) || !parseByte(fields[2], row.lsb) ||
            !parseByte(fields[3], row.program) || fields[4].empty() || fields[4].size() > 49) {
            problems_.push_back("line " + std::to_string(lineNumber) + ": not a sound row");
            continue;
        }
        row.name = std::string(fields[4]);
        tables_[table].push_back(std::move(row));
    }
    for (size_t t = 0; t < kNames.size(); ++t)
        if (tables_[t].size() != kRowCounts[t])
            problems_.push_back(std::string(kNames[t]) + ": " + std::to_string(tables_[t].size()) +
                                " rows instead of " + std::to_string(kRowCounts[t]));
}

CQeSoundTables CQeSoundTables::LoadFile(const std::filesystem::path& path)
{
    CQeSoundTables tables;
    std::vector<uint8_t> bytes;
    if (readWholeFile(path, bytes, 1u << 24) != FileIoError::None) {
        tables.problems_.push_back(path.string() + ": cannot be read");
        return tables;
    }
    tables.LoadText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return tables;
}

const CQeSoundTables& CQeSoundTables::BuiltIn()
{
    static const CQeSoundTables tables = LoadFile(dataFile(kFileName));
    return tables;
}

const CQeSoundTables::Row* CQeSoundTables::Find(int soundSet, uint8_t msb, uint8_t lsb, uint8_t program) const
{
    if (soundSet != 0 && soundSet != 1) return nullptr;
    if (msb != 121 && msb != 120) return nullptr;
    const Table table = soundSet == 0 ? (msb == 121 ? Table::Qe4kMelodic : Table::Qe4kDrums)
                                      : (msb == 121 ? Table::Qe9zMelodic : Table::Qe9zDrums);
    for (const Row& row : Rows(table))
        if (row.msb == msb && row.lsb == lsb && row.program == program) return &row;
    return nullptr;
}

} // namespace zib
