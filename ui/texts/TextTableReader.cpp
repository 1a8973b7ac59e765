#include "ui/texts/TextTableReader.h"

#include "ui/texts/ZibMessageTable.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <optional>

namespace zib::texts {

namespace {

constexpr std::string_view kLanguageNames[kLanguageCount] = {"English", "Italian", "German"};

// Collects faults as "<file>:<line>: error: <what>".
class ErrorList {
public:
    ErrorList(std::string_view fileName, std::vector<std::string>& out) : fileName_(fileName), out_(out) {}

    void add(int line, const std::string& what)
    {
        out_.push_back(std::string(fileName_) + ":" + std::to_string(line) + ": error: " + what);
    }

private:
    std::string_view fileName_;
    std::vector<std::string>& out_;
};

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not valid
// (truncated, overlong, a surrogate or beyond U+10FFFF).
size_t utf8SequenceLength(std::string_view text, size_t i)
{
    auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t lead = byte(i);
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint32_t min = 0;
    uint32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        min = 0x80;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        min = 0x800;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        min = 0x10000;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - i < length) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// Checks one raw column (before unescaping): UTF-8 only, no control characters.
std::optional<std::string> rawColumnFault(std::string_view column)
{
    for (size_t i = 0; i < column.size();) {
        const auto c = static_cast<uint8_t>(column[i]);
        if (c < 0x20 || c == 0x7F) {
            static const char hex[] = "0123456789ABCDEF";
            return std::string("control character 0x") + hex[c >> 4] + hex[c & 15] +
                   " (write \\t or \\n for a tab or line break)";
        }
        const size_t length = utf8SequenceLength(column, i);
        if (length == 0) return std::string("bytes that are not UTF-8");
        i += length;
    }
    return std::nullopt;
}

// Turns "\t", "\n" and "\\" into their characters; any other escape is a fault.
std::optional<std::string> unescape(std::string_view column, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < column.size(); ++i) {
        if (column[i] != '\\') {
            out += column[i];
            continue;
        }
        if (i + 1 == column.size()) return std::string("a lone backslash at the end of a column");
        const char next = column[++i];
        if (next == 't')
            out += '\t';
        else if (next == 'n')
            out += '\n';
        else if (next == '\\')
            out += '\\';
        else
            return std::string("unknown escape \\") + next + " (only \\t, \\n and \\\\ are known)";
    }
    return std::nullopt;
}

// A text as it would be written in the table, for error reports.
std::string asWritten(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else
            out += c;
    }
    return out;
}

std::vector<std::string_view> splitColumns(std::string_view line)
{
    std::vector<std::string_view> columns;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        columns.push_back(
            line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return columns;
        start = tab + 1;
    }
}

// Walks the lines of a table: skips comments and blank lines, checks the
// header, splits and checks the columns, and hands each row's columns (the
// texts unescaped) to `onRow`.
template <class OnRow>
void forEachRow(std::string_view content, std::string_view header,
                const std::vector<std::string>& columnNames, ErrorList& errors, OnRow onRow)
{
    if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
    bool headerSeen = false;
    int lineNumber = 0;
    size_t pos = 0;
    while (pos < content.size()) {
        const size_t end = content.find('\n', pos);
        std::string_view line =
            content.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        pos = end == std::string_view::npos ? content.size() : end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        if (!headerSeen) {
            headerSeen = true;
            if (line != header) {
                std::string expected(header);
                for (auto& c : expected)
                    if (c == '\t') c = '|';
                errors.add(lineNumber, "the header must be the columns " + expected + ", separated by tabs");
                return;
            }
            continue;
        }

        const auto columns = splitColumns(line);
        if (columns.size() != columnNames.size()) {
            std::string names;
            for (const auto& name : columnNames)
                names += (names.empty() ? "" : ", ") + name;
            errors.add(lineNumber, "expected " + std::to_string(columnNames.size()) +
                                       " tab-separated columns (" + names + "), found " +
                                       std::to_string(columns.size()));
            continue;
        }
        std::vector<std::string> texts(columns.size());
        bool good = true;
        for (size_t k = 0; k < columns.size() && good; ++k) {
            std::optional<std::string> fault = rawColumnFault(columns[k]);
            if (!fault) fault = unescape(columns[k], texts[k]);
            if (!fault && texts[k].empty()) fault = std::string("empty text");
            if (fault) {
                errors.add(lineNumber, columnNames[k] + " column: " + *fault);
                good = false;
            }
        }
        if (good) onRow(lineNumber, texts);
    }
    if (!headerSeen) errors.add(lineNumber == 0 ? 1 : lineNumber, "no header line: the table is empty");
}

TextColumns lastColumns(std::vector<std::string>& texts)
{
    TextColumns out;
    const size_t first = texts.size() - kLanguageCount;
    for (int language = 0; language < kLanguageCount; ++language)
        out[size_t(language)] = std::move(texts[first + size_t(language)]);
    return out;
}

} // namespace

TextTableRead<MessageRow> readMessageTable(std::string_view content, std::string_view fileName)
{
    TextTableRead<MessageRow> result;
    ErrorList errors(fileName, result.errors);
    std::map<int, int> lineOfNumber;
    const std::vector<std::string> names = {"number", "English", "Italian", "German"};
    forEachRow(content, kMessageTableHeader, names, errors, [&](int line, std::vector<std::string>& texts) {
        const std::string& field = texts[0];
        int number = -1;
        const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), number);
        if (ec != std::errc() || end != field.data() + field.size() || field.size() > 3 || number < 0 ||
            number >= kZibMessageCount) {
            errors.add(line, "message number \"" + field + "\" is not a number from 0 to " +
                                 std::to_string(kZibMessageCount - 1));
            return;
        }
        if (const auto seen = lineOfNumber.find(number); seen != lineOfNumber.end()) {
            errors.add(line, "message " + std::to_string(number) + " is already defined on line " +
                                 std::to_string(seen->second));
            return;
        }
        lineOfNumber[number] = line;
        result.rows.push_back({number, lastColumns(texts), line});
    });
    return result;
}

TextTableRead<UiTextRow> readUiTextTable(std::string_view content, std::string_view fileName)
{
    TextTableRead<UiTextRow> result;
    ErrorList errors(fileName, result.errors);
    std::map<std::string, int, std::less<>> lineOfKey;
    const std::vector<std::string> names(std::begin(kLanguageNames), std::end(kLanguageNames));
    forEachRow(content, kUiTextTableHeader, names, errors, [&](int line, std::vector<std::string>& texts) {
        if (const auto seen = lineOfKey.find(texts[0]); seen != lineOfKey.end()) {
            errors.add(line, "the English text \"" + asWritten(texts[0]) + "\" is already defined on line " +
                                 std::to_string(seen->second));
            return;
        }
        lineOfKey.emplace(texts[0], line);
        result.rows.push_back({lastColumns(texts), line});
    });
    return result;
}

} // namespace zib::texts
