#include "styles/WqToQeSoundTable.h"

#include <charconv>

#include "platform/DataDir.h"
#include "platform/FileIo.h"
#include "styles/WqStyleLayout.h"

namespace zib {

namespace {

using wq::kModels;
constexpr int kKindCount = 5;

// Entries per model (in wq::kModels order) and bank kind
constexpr std::array<std::array<int, kKindCount>, 5> kEntryCounts = {{
    {128, 128, 8, 0, 0},
    {128, 128, 16, 128, 0},
    {128, 128, 28, 128, 0},
    {128, 128, 64, 128, 40},
    {128, 128, 64, 64, 16},
}};

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> out;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
        size_t end = at;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
        if (end > at) out.push_back(line.substr(at, end - at));
        at = end;
    }
    return out;
}

bool number(std::string_view text, int& value)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

WqToQeSoundTable::WqToQeSoundTable()
{
    for (size_t m = 0; m < kModels.size(); ++m)
        for (int kind = 0; kind < kKindCount; ++kind) tables_[m][size_t(kind)].resize(size_t(kEntryCounts[m][size_t(kind)]));
}

int WqToQeSoundTable::ModelIndex(uint32_t model)
{
    for (size_t m = 0; m < kModels.size(); ++m)
        if (kModels[m] == model) return int(m);
    return -1;
}

// Lookup

int WqToQeSoundTable::EntryCount(uint32_t model, int kind)
{
    const int m = ModelIndex(model);
    if (m < 0 || kind < 0 || kind >= kKindCount) return 0;
    return kEntryCounts[size_t(m)][size_t(kind)];
}

WqToQeSoundTable::Sound WqToQeSoundTable::Lookup(uint32_t model, uint16_t soundWord) const
{
    const int kind = soundWord >> 8;
    const int number = soundWord & 0xFF;
    const int m = ModelIndex(model);
    if (m < 0 || kind >= kKindCount) return kUnknownSound;
    const auto& table = tables_[size_t(m)][size_t(kind)];
    if (size_t(number) < table.size()) return table[size_t(number)].sound;
    const bool kitModel = model == '9' || model == '<' || model == 'H';
    return kind == 2 && kitModel ? kUnknownKit : kUnknownSound;
}

// Loading

void WqToQeSoundTable::LoadText(std::string_view text)
{
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;

        const auto f = fields(line);
        int kind = 0, first = 0, last = 0, msb = 0, lsb = 0, program = 0;
        const int m = f.size() == 7 && f[0].size() == 1 ? ModelIndex(uint8_t(f[0][0])) : -1;
        if (m < 0 || !number(f[1], kind) || !number(f[2], first) || !number(f[3], last) || !number(f[4], msb) ||
            !number(f[5], lsb) || !number(f[6], program)) {
            Problem("line " + std::to_string(lineNumber) + ": not \"model kind first last msb lsb program\"");
            continue;
        }
        if (kind < 0 || kind >= kKindCount || first < 0 || last < first ||
            last >= kEntryCounts[size_t(m)][size_t(kind)]) {
            Problem("line " + std::to_string(lineNumber) + ": no such table entries");
            continue;
        }
        if (msb < 0 || msb > 127 || lsb < 0 || lsb > 127 || program < 0 || program + (last - first) > 127) {
            Problem("line " + std::to_string(lineNumber) + ": a value outside 0-127");
            continue;
        }
        auto& table = tables_[size_t(m)][size_t(kind)];
        for (int n = first; n <= last; ++n)
            table[size_t(n)] = Entry{{uint8_t(msb), uint8_t(lsb), uint8_t(program + n - first)}, true};
    }
}

void WqToQeSoundTable::ReportMissingEntries()
{
    for (size_t m = 0; m < kModels.size(); ++m)
        for (int kind = 0; kind < kKindCount; ++kind) {
            const auto& table = tables_[m][size_t(kind)];
            for (size_t n = 0; n < table.size(); ++n)
                if (!table[n].filled)
                    Problem(std::string("model ") + char(kModels[m]) + ", kind " + std::to_string(kind) + ", number " +
                            std::to_string(n) + ": no sound");
        }
}

WqToQeSoundTable WqToQeSoundTable::LoadFile(const std::filesystem::path& path)
{
    WqToQeSoundTable table;
    std::vector<uint8_t> bytes;
    if (readWholeFile(path, bytes, 1 << 20) != FileIoError::None) {
        table.Problem(path.string() + ": cannot be read");
    } else {
        table.LoadText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    table.ReportMissingEntries();
    return table;
}

const WqToQeSoundTable& builtInWqToQeSoundTable()
{
    static const WqToQeSoundTable table = WqToQeSoundTable::LoadFile(dataFile(WqToQeSoundTable::kFileName));
    return table;
}

} // namespace zib
