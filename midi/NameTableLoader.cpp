#include "midi/NameTableLoader.h"

#include "platform/Cp1252.h"
#include "platform/DataDir.h"
#include "platform/FileIo.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

namespace zib {

namespace {

constexpr uintmax_t kMaxFileSize = 4u << 20; // the shipped files are far below this
constexpr size_t kMaxPositionText = 5;       // position texts of a mapping row

const std::array<int, 5> kModels = {57, 60, 72, 73, 77};

// Converts a UTF-8 field to the Windows-1252 bytes the model keeps; false on
// malformed UTF-8, on a character Windows-1252 cannot store (the conversion
// does not give the field back) and on control characters.
bool toWindows1252(std::string_view in, std::string& out, std::string& why)
{
    out = utf8ToCp1252(in);
    if (cp1252ToUtf8(out) != in) {
        why = "is not UTF-8 text that Windows-1252 can store";
        return false;
    }
    for (unsigned char c : out)
        if (c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D) {
            why = "holds a control character";
            return false;
        }
    return true;
}

// Whole-field integer: decimal, or hexadecimal with a 0x prefix.
bool parseNumber(std::string_view field, long long max, int& value)
{
    int base = 10;
    if (field.size() > 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X')) {
        field.remove_prefix(2);
        base = 16;
    }
    if (field.empty()) return false;
    long long v = 0;
    auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v, base);
    if (ec != std::errc() || end != field.data() + field.size() || v < 0 || v > max) return false;
    value = int(v);
    return true;
}

// The model letter of a data line; 0 when it names no Wq model.
int parseModel(std::string_view field)
{
    if (field.size() != 1) return 0;
    int model = static_cast<unsigned char>(field[0]);
    return NameTables::isWqModel(model) ? model : 0;
}

bool parseBank(std::string_view field, NameTable& table)
{
    static const std::array<std::pair<std::string_view, NameTable>, 6> banks = {
        {{"A", NameTable::BankA},
         {"B", NameTable::BankB},
         {"C", NameTable::BankC},
         {"D", NameTable::BankD},
         {"E", NameTable::BankE},
         {"Kit", NameTable::DrumKits}}};
    for (const auto& b : banks)
        if (b.first == field) {
            table = b.second;
            return true;
        }
    return false;
}

const char* tableLabel(NameTable table)
{
    switch (table) {
    case NameTable::BankA:
        return "bank A";
    case NameTable::BankB:
        return "bank B";
    case NameTable::BankC:
        return "bank C";
    case NameTable::BankD:
        return "bank D";
    case NameTable::BankE:
        return "bank E";
    case NameTable::DrumKits:
        return "drum kits";
    case NameTable::Multisamples:
        return "multisamples";
    case NameTable::StyleNames:
        return "style names";
    }
    return "?";
}

std::string modelLabel(int model)
{
    return std::string("model ") + char(model);
}

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) return fields;
        line.remove_prefix(tab + 1);
    }
}

// Reads the lines of one file; each line that cannot be used is reported
// with its number and skipped.
class LineReader {
public:
    LineReader(NameTableLoader::FileKind kind, NameTables& tables) : kind_(kind), tables_(tables) {}

    void read(std::string_view text)
    {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3); // byte-order mark of some editors
        size_t lineNo = 0;
        while (!text.empty()) {
            size_t nl = text.find('\n');
            std::string_view line = text.substr(0, nl);
            text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
            ++lineNo;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.empty() || line[0] == '#') continue;
            line_ = lineNo;
            readLine(splitTabs(line));
        }
    }

private:
    void problem(const std::string& what)
    {
        tables_.addProblem(std::string(NameTableLoader::fileName(kind_)) + " line " + std::to_string(line_) +
                           ": " + what);
    }

    bool text(std::string_view field, size_t maxWidth, const char* what, std::string& out)
    {
        std::string why;
        if (!toWindows1252(field, out, why)) {
            problem(std::string("the ") + what + " " + why);
            return false;
        }
        if (out.empty()) {
            problem(std::string("the ") + what + " is empty");
            return false;
        }
        if (out.size() > maxWidth) {
            problem(std::string("the ") + what + " is longer than " + std::to_string(maxWidth) +
                    " characters");
            return false;
        }
        return true;
    }

    void readLine(const std::vector<std::string_view>& f)
    {
        using Kind = NameTableLoader::FileKind;
        size_t expected = kind_ == Kind::ProgramBanks ? 4 : kind_ == Kind::ProgramMaps ? 6 : 3;
        if (f.size() != expected) {
            problem("expected " + std::to_string(expected) + " tab-separated fields, found " +
                    std::to_string(f.size()));
            return;
        }
        if (kind_ == Kind::ProgramMaps) return readMapLine(f);

        int model = parseModel(f[0]);
        if (!model) return problem("unknown model \"" + std::string(f[0]) + "\"");
        NameTable table = kind_ == Kind::Multisamples ? NameTable::Multisamples : NameTable::StyleNames;
        size_t next = 1;
        if (kind_ == Kind::ProgramBanks && !parseBank(f[next++], table))
            return problem("unknown bank \"" + std::string(f[1]) + "\" (A-E or Kit)");
        int count = NameTables::rowCount(model, table);
        if (count == 0) return problem(modelLabel(model) + " has no " + tableLabel(table));
        int row = 0;
        if (!parseNumber(f[next], count - 1, row))
            return problem("index \"" + std::string(f[next]) + "\" is not a number from 0 to " +
                           std::to_string(count - 1));
        std::string name;
        if (!text(f[next + 1], size_t(NameTables::maxWidth(model, table)), "name", name)) return;
        if (!tables_.setEntry(model, table, row, std::move(name)))
            problem(modelLabel(model) + " " + tableLabel(table) + " entry " + std::to_string(row) +
                    " is given twice; the first one is kept");
    }

    void readMapLine(const std::vector<std::string_view>& f)
    {
        int from = parseModel(f[0]);
        int to = parseModel(f[1]);
        if (!from || !to)
            return problem("unknown model in \"" + std::string(f[0]) + "\", \"" + std::string(f[1]) + "\"");
        if (!NameTables::isStoredMapDirection(from, to))
            return problem(std::string("there is no mapping table from ") + char(from) + " to " + char(to));
        ProgramMapRow row;
        int source = 0, target = 0;
        if (!parseNumber(f[2], 0xFFFF, source) || !parseNumber(f[4], 0xFFFF, target))
            return problem("program numbers must lie in 0-0xFFFF");
        if (!text(f[3], kMaxPositionText, "source position", row.sourcePosition) ||
            !text(f[5], kMaxPositionText, "target position", row.targetPosition))
            return;
        row.source = uint16_t(source);
        row.target = uint16_t(target);
        tables_.appendMapRow(from, to, std::move(row));
    }

    NameTableLoader::FileKind kind_;
    NameTables& tables_;
    size_t line_ = 0;
};

} // namespace

const char* NameTableLoader::fileName(FileKind kind)
{
    switch (kind) {
    case FileKind::ProgramBanks:
        return "program-banks.tsv";
    case FileKind::Multisamples:
        return "multisamples.tsv";
    case FileKind::StyleNames:
        return "style-names.tsv";
    case FileKind::ProgramMaps:
        return "program-maps.tsv";
    }
    return "";
}

void NameTableLoader::loadText(FileKind kind, std::string_view text, NameTables& tables)
{
    LineReader(kind, tables).read(text);
}

void NameTableLoader::reportMissingRows(FileKind kind, NameTables& tables)
{
    const std::string file = fileName(kind);
    if (kind == FileKind::ProgramMaps) {
        for (int from : kModels)
            for (int to : kModels)
                if (NameTables::isStoredMapDirection(from, to) && tables.programMap(from, to).empty())
                    tables.addProblem(file + ": no rows map " + modelLabel(from) + " to " + modelLabel(to));
        return;
    }
    std::vector<NameTable> kinds;
    if (kind == FileKind::ProgramBanks)
        kinds = {NameTable::BankA, NameTable::BankB, NameTable::BankC,
                 NameTable::BankD, NameTable::BankE, NameTable::DrumKits};
    else
        kinds = {kind == FileKind::Multisamples ? NameTable::Multisamples : NameTable::StyleNames};
    for (int model : kModels)
        for (NameTable table : kinds) {
            int count = NameTables::rowCount(model, table);
            int missing = 0, first = -1;
            for (int row = 0; row < count; ++row)
                if (!tables.entry(model, table, row)) {
                    if (first < 0) first = row;
                    ++missing;
                }
            if (missing)
                tables.addProblem(file + ": " + modelLabel(model) + " " + tableLabel(table) + ": " +
                                  std::to_string(missing) + " of " + std::to_string(count) +
                                  " entries missing, the first is " + std::to_string(first));
        }
}

NameTables NameTableLoader::loadFolder(const std::filesystem::path& folder)
{
    NameTables tables;
    for (FileKind kind :
         {FileKind::ProgramBanks, FileKind::Multisamples, FileKind::StyleNames, FileKind::ProgramMaps}) {
        std::vector<uint8_t> bytes;
        auto path = folder / fileName(kind);
        FileIoError error = readWholeFile(path, bytes, kMaxFileSize);
        if (error != FileIoError::None) {
            tables.addProblem("cannot read " + path.string() +
                              (error == FileIoError::TooLarge ? " (file too large)" : ""));
            continue;
        }
        loadText(kind, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), tables);
        reportMissingRows(kind, tables);
    }
    return tables;
}

const NameTables& builtInNameTables()
{
    static const NameTables tables = NameTableLoader::loadFolder(dataFile("names"));
    return tables;
}

} // namespace zib
