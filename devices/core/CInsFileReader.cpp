#include "devices/core/CInsFileReader.h"

#include <climits>
#include <optional>

namespace zib {

namespace {

// Blanks of the format: spaces and tabs (some files end a heading with a tab).
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool onlyOf(std::string_view text, std::string_view allowed)
{
    for (char c : text)
        if (!isDigit(c) && allowed.find(c) == std::string_view::npos) return false;
    return true;
}

// A bank or patch of a key: -1 for "*", else its leading number; none when
// that number is too large.
std::optional<int> keyNumber(std::string_view text)
{
    if (text == "*") return -1;
    return LeadingInsNumber(text);
}

} // namespace

std::string_view TrimInsText(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<int> LeadingInsNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) return std::nullopt;
    }
    return int(value);
}

bool IsInsDigits(std::string_view text)
{
    return !text.empty() && onlyOf(text, "");
}

void CInsFileReader::Reset()
{
    CLineTextFile::Reset();
    fields_ = InsLineFields();
    section_ = InsSection::Other;
    listSeen_ = false;
    bracketName_.clear();
    instrumentName_.clear();
}

InsFileResult CInsFileReader::ReadInsFile()
{
    if (InsFileResult r = Rewind(); r != InsFileResult::Ok) return r;
    section_ = InsSection::Other;
    listSeen_ = false;
    for (;;) {
        const InsFileResult read = ReadLine();
        if (read == InsFileResult::EndOfFile) return InsFileResult::Ok;
        if (read != InsFileResult::Ok) return read;
        ClassifyInsLine(CurrentLine());
        if (InsFileResult r = Dispatch(); r != InsFileResult::Ok) return r;
    }
}

void CInsFileReader::ClassifyInsLine(std::string_view rawLine)
{
    fields_ = InsLineFields();
    const std::string_view line = TrimInsText(rawLine);
    fields_.section = section_;
    if (line.empty()) {
        fields_.kind = InsLineKind::Empty;
        return;
    }
    if (line.front() == '.') {
        fields_.kind = InsLineKind::SectionHeading;
        section_ = InsSection::Other;
        for (size_t i = 0; i < std::size(kSectionNames); ++i)
            if (line == kSectionNames[i]) section_ = InsSection(i + 1);
        fields_.section = section_;
        listSeen_ = false;
        bracketName_.clear();
        instrumentName_.clear();
        return;
    }
    if (line.front() == '[') {
        if (line.size() < 2 || line.back() != ']') return;
        // Trimmed like the list references that name it ("[XG Bank 1 ]" is "XG Bank 1").
        bracketName_.assign(TrimInsText(line.substr(1, line.size() - 2)));
        fields_.name = bracketName_;
        if (section_ == InsSection::InstrumentDefinitions) {
            instrumentName_ = bracketName_;
            fields_.kind = InsLineKind::Entry;
            fields_.subKind = InsSubKind::InstrumentHeading;
        } else {
            fields_.kind = InsLineKind::ListHeading;
            listSeen_ = true;
        }
        return;
    }

    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) return;
    // Blanks before the first "=" do not count ("Patch[ 0 ] = Bank" reads as "Patch[0]= Bank").
    std::string key;
    for (char c : line.substr(0, equals))
        if (!isBlank(c)) key += c;
    const std::string_view value = TrimInsText(line.substr(equals + 1));

    if (section_ == InsSection::InstrumentDefinitions) {
        ClassifyDefinitionLine(key, value);
        return;
    }
    if (!listSeen_) return;
    if (IsInsDigits(key)) {
        const std::optional<int> number = LeadingInsNumber(key);
        if (!number) return;
        fields_.kind = InsLineKind::Entry;
        fields_.subKind = InsSubKind::ListEntry;
        fields_.entryNumber = *number;
        fields_.entryText.assign(value);
        fields_.valueText.assign(value);
    } else if ((section_ == InsSection::PatchNames || section_ == InsSection::NoteNames ||
                section_ == InsSection::ControllerNames) &&
               key.starts_with("BasedOn")) {
        fields_.kind = InsLineKind::Entry;
        fields_.subKind = InsSubKind::ListEntry;
        fields_.entryNumber = -1;
        fields_.basedOn = true;
        fields_.entryText.assign(value);
        fields_.valueText.assign(value);
    }
}

void CInsFileReader::ClassifyDefinitionLine(std::string_view key, std::string_view value)
{
    auto bracketed = [&key](std::string_view head) -> std::optional<std::string_view> {
        if (!key.starts_with(head) || !key.ends_with("]") || key.size() < head.size() + 1) return std::nullopt;
        return TrimInsText(key.substr(head.size(), key.size() - head.size() - 1));
    };

    if (auto inner = bracketed("Patch[")) {
        if (inner->empty() || !onlyOf(*inner, "*")) return;
        const std::optional<int> bank = keyNumber(*inner);
        if (!bank) return;
        fields_.subKind = InsSubKind::Patch;
        fields_.patchBankText.assign(*inner);
        fields_.patchBank = *bank;
    } else if (auto keyInner = bracketed("Key["), drumInner = bracketed("Drum["); keyInner || drumInner) {
        const std::string_view inner = keyInner ? *keyInner : *drumInner;
        const size_t comma = inner.find(',');
        if (inner.empty() || comma == std::string_view::npos || comma == 0 || !onlyOf(inner, "*,")) return;
        const std::optional<int> bank = keyNumber(inner.substr(0, comma));
        const std::optional<int> patch = keyNumber(inner.substr(comma + 1));
        if (!bank || !patch) return;
        fields_.subKind = keyInner ? InsSubKind::Key : InsSubKind::Drum;
        fields_.keyText.assign(inner);
        fields_.keyBank = *bank;
        fields_.keyPatch = *patch;
    } else if (key.starts_with("Control")) {
        fields_.subKind = InsSubKind::Controller;
    } else if (key.starts_with("RPN")) {
        fields_.subKind = InsSubKind::Rpn;
    } else if (key.starts_with("NRPN")) {
        fields_.subKind = InsSubKind::Nrpn;
    } else if (key.starts_with("BankSelMethod")) {
        fields_.subKind = InsSubKind::BankSelMethod;
    } else {
        return;
    }
    if (!ClassifyValue(value)) {
        fields_.subKind = InsSubKind::None;
        return;
    }
    fields_.kind = InsLineKind::Entry;
}

bool CInsFileReader::ClassifyValue(std::string_view value)
{
    fields_.valueText.assign(value);
    if (value.empty()) {
        fields_.valueKind = InsValueKind::None;
        return true;
    }
    // A range is digits (or nothing) on both sides of "..": "0..127", "1..128",
    // "..". A list name with dots in it ("Strings...") stays a name.
    if (const size_t dots = value.find(".."); dots != std::string_view::npos) {
        const std::string_view before = TrimInsText(value.substr(0, dots));
        const std::string_view after = TrimInsText(value.substr(dots + 2));
        if (onlyOf(before, "") && onlyOf(after, "")) {
            fields_.valueKind = InsValueKind::Range;
            if (dots == 0 && after.empty()) {
                fields_.firstNumber = 1;
                fields_.secondNumber = 128;
                return true;
            }
            const std::optional<int> first = dots == 0 ? std::optional<int>(0) : LeadingInsNumber(before);
            const std::optional<int> second = LeadingInsNumber(after);
            if (!first || !second) return false;
            fields_.firstNumber = *first;
            fields_.secondNumber = *second;
            return true;
        }
    }
    if (IsInsDigits(value)) {
        const std::optional<int> number = LeadingInsNumber(value);
        if (!number) return false;
        fields_.valueKind = InsValueKind::Number;
        fields_.firstNumber = *number;
        return true;
    }
    fields_.valueKind = InsValueKind::Text;
    return true;
}

InsFileResult CInsFileReader::Dispatch()
{
    switch (fields_.kind) {
    case InsLineKind::SectionHeading:
        switch (fields_.section) {
        case InsSection::InstrumentDefinitions:
            return OnInstrumentDefinitionsHeading();
        case InsSection::PatchNames:
            return OnPatchNamesHeading();
        case InsSection::NoteNames:
            return OnNoteNamesHeading();
        case InsSection::ControllerNames:
            return OnControllerNamesHeading();
        case InsSection::RpnNames:
            return OnRpnNamesHeading();
        case InsSection::NrpnNames:
            return OnNrpnNamesHeading();
        case InsSection::Other:
            return OnOtherHeading();
        }
        return InsFileResult::Ok;
    case InsLineKind::ListHeading:
        return OnListHeading();
    case InsLineKind::Entry:
        if (fields_.section != InsSection::InstrumentDefinitions) return OnListEntry();
        switch (fields_.subKind) {
        case InsSubKind::InstrumentHeading:
            return OnInstrumentHeading();
        case InsSubKind::Patch:
            return OnPatchLine();
        case InsSubKind::Drum:
            return OnDrumLine();
        case InsSubKind::Key:
            return OnKeyLine();
        case InsSubKind::Controller:
            return OnControllerLine();
        case InsSubKind::Rpn:
            return OnRpnLine();
        case InsSubKind::Nrpn:
            return OnNrpnLine();
        case InsSubKind::BankSelMethod:
            return OnBankSelMethodLine();
        default:
            return InsFileResult::Ok;
        }
    default:
        return InsFileResult::Ok;
    }
}

} // namespace zib
