#include "devices/core/ChordPatternReader.h"

#include "devices/core/Chord.h"
#include "midi/ValueTexts.h"

#include <array>
#include <cstdio>
#include <set>

namespace zib {

namespace {

constexpr std::array<std::string_view, kTensionSetCount> kTensionSetKeys = {
    "none",   "b9",      "9",         "#9",     "11",      "#11",      "13",       "b9+11",
    "b9+13",  "b9+#11",  "b9+11+13",  "b9+#11+13", "9+11", "9+13",     "9+#11",    "9+11+13",
    "9+#11+13", "#9+11", "#9+13",     "#9+#11", "#9+11+13", "#9+#11+13", "11+13",   "#11+13",
};

// Chord types a row may name: the recogniser itself names No3rd and No3rdNo5th.
constexpr int kRowChordTypes = kChordTypeNo3rd;

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> columns;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        columns.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return columns;
        start = tab + 1;
    }
}

// "0 4 7" -> mask; an empty string when it is valid, else what is wrong.
std::string parseSemitones(std::string_view text, uint16_t& mask)
{
    mask = 0;
    int previous = -1;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        int value = 0;
        size_t digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 3) {
            value = value * 10 + (text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0 || (i < text.size() && text[i] != ' '))
            return "semitones: \"" + std::string(text) + "\" is not a list of numbers";
        if (value > 11) return "semitones: " + std::to_string(value) + " is above 11";
        if (value <= previous) return "semitones: " + std::to_string(value) + " is not in ascending order";
        if (previous < 0 && value != 0) return "semitones: the first must be 0 (the root)";
        mask = uint16_t(mask | 1u << value);
        previous = value;
    }
    if (mask == 0) return "semitones: empty";
    return {};
}

int findChordType(std::string_view name)
{
    for (int type = 0; type < kRowChordTypes; ++type)
        if (GetQeChordName(type) == name) return type;
    return -1;
}

int findTensionSet(std::string_view key)
{
    for (size_t i = 0; i < kTensionSetKeys.size(); ++i)
        if (kTensionSetKeys[i] == key) return int(i);
    return -1;
}

} // namespace

std::string_view GetTensionSetKey(int tension)
{
    if (tension < 0 || tension >= kTensionSetCount) return {};
    return kTensionSetKeys[size_t(tension)];
}

ChordPatternRead readChordPatternTable(std::string_view content, std::string_view fileName)
{
    ChordPatternRead read;
    std::set<uint16_t> masks;
    int lineNumber = 0;
    auto fail = [&](const std::string& what) {
        read.errors.push_back(std::string(fileName) + ":" + std::to_string(lineNumber) + ": error: " + what);
    };
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string_view::npos) end = content.size();
        std::string_view line = content.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        const auto columns = splitTabs(line);
        if (columns.size() != 3) {
            fail("expected 3 tab-separated columns (semitones, type, tension), found " +
                 std::to_string(columns.size()));
            continue;
        }
        ChordPattern row;
        if (std::string what = parseSemitones(columns[0], row.mask); !what.empty()) {
            fail(what);
            continue;
        }
        row.chordType = findChordType(columns[1]);
        if (row.chordType < 0) {
            fail("type: \"" + std::string(columns[1]) + "\" is not a chord type from Major to augMaj7");
            continue;
        }
        row.tension = findTensionSet(columns[2]);
        if (row.tension < 0) {
            fail("tension: \"" + std::string(columns[2]) + "\" is not a tension set");
            continue;
        }
        if (!masks.insert(row.mask).second) {
            fail("semitones: \"" + std::string(columns[0]) + "\" appear in an earlier row");
            continue;
        }
        read.rows.push_back(row);
    }
    if (read.errors.empty() && read.rows.size() != kChordPatternCount) {
        lineNumber = 0;
        fail("the table holds " + std::to_string(read.rows.size()) + " rows, not " +
             std::to_string(kChordPatternCount));
    }
    return read;
}

std::string chordPatternTableSource(const std::vector<ChordPattern>& rows)
{
    std::string out;
    out += "// Generated from data/chords/chord-patterns.tsv; edit that file.\n";
    out += "#include \"devices/core/ChordPatternTable.h\"\n\n";
    out += "namespace zib {\n\n";
    out += "const std::array<ChordPattern, kChordPatternCount> kChordPatternData = {{\n";
    for (const ChordPattern& row : rows) {
        char line[64];
        std::snprintf(line, sizeof line, "    {0x%03X, %d, %d},\n", unsigned(row.mask), int(row.chordType),
                      int(row.tension));
        out += line;
    }
    out += "}};\n\n} // namespace zib\n";
    return out;
}

} // namespace zib
