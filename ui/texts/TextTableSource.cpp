#include "ui/texts/TextTableSource.h"

#include "ui/texts/ZibMessageTable.h"

#include <array>
#include <cstdint>

namespace zib::texts {

namespace {

// A C++ string_view literal of `text`: printable ASCII as it is, everything
// else (line breaks, tabs, the bytes of UTF-8 sequences) as three-digit octal
// escapes, which never run into a following character.
std::string literal(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            out += '\\';
            out += char('0' + (byte >> 6));
            out += char('0' + ((byte >> 3) & 7));
            out += char('0' + (byte & 7));
        }
    }
    return out + "\"sv";
}

} // namespace

std::string textTablesSource(const std::vector<MessageRow>& messages, const std::vector<UiTextRow>& uiTexts)
{
    std::array<const MessageRow*, kZibMessageCount> byNumber{};
    for (const auto& row : messages)
        if (row.number >= 0 && row.number < kZibMessageCount) byNumber[size_t(row.number)] = &row;

    std::string out;
    out += "// Generated from data/lang/messages.tsv and data/lang/ui.tsv; edit those files.\n";
    out += "#include \"ui/texts/TextTableData.h\"\n\n";
    out += "using namespace std::string_view_literals;\n\n";
    out += "namespace zib::texts::data {\n\n";

    out += "const std::string_view kMessageTexts[kZibMessageCount * kLanguageCount] = {\n";
    for (int number = 0; number < kZibMessageCount; ++number) {
        const MessageRow* row = byNumber[size_t(number)];
        out += "    // " + std::to_string(number) + "\n";
        for (int language = 0; language < kLanguageCount; ++language)
            out += "    " + (row ? literal(row->texts[size_t(language)]) : std::string("\"\"sv")) + ",\n";
    }
    out += "};\n\n";

    if (uiTexts.empty()) {
        out += "const std::span<const UiTextData> kUiTexts{};\n\n";
    } else {
        out += "static const UiTextData kUiTextRows[] = {\n";
        for (const auto& row : uiTexts) {
            out += "    {{";
            for (int language = 0; language < kLanguageCount; ++language)
                out += (language ? ", " : "") + literal(row.texts[size_t(language)]);
            out += "}},\n";
        }
        out += "};\n\n";
        out += "const std::span<const UiTextData> kUiTexts{kUiTextRows};\n\n";
    }
    out += "} // namespace zib::texts::data\n";
    return out;
}

} // namespace zib::texts
