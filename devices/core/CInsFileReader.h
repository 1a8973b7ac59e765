#pragma once

#include "devices/core/CLineTextFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace zib {

// What one line of an instrument definition file (.INS) is.
enum class InsLineKind { Ignored = 0, Empty = 1, SectionHeading = 2, ListHeading = 3, Entry = 4 };

// The section a line belongs to, kept from the last heading.
enum class InsSection {
    Other = 0,
    InstrumentDefinitions = 1, // ".Instrument Definitions"
    PatchNames = 2,            // ".Patch Names"
    NoteNames = 3,             // ".Note Names"
    ControllerNames = 4,       // ".Controller Names"
    RpnNames = 5,              // ".RPN Names"
    NrpnNames = 6,             // ".NRPN Names"
};

// The kind of an entry line.
enum class InsSubKind {
    None = 0,
    ListEntry = 1,         // number=text in a name list, or BasedOn=list
    InstrumentHeading = 2, // [name] in ".Instrument Definitions"
    Patch = 4,             // Patch[bank]=...
    Drum = 5,              // Drum[bank,patch]=...
    Key = 6,               // Key[bank,patch]=...
    Controller = 7,        // Control...=...
    Rpn = 8,
    Nrpn = 9,
    BankSelMethod = 10,
};

// The value after "=" of a definition line.
enum class InsValueKind { None, Range, Number, Text };

// The fields the classifier sets for one line.
struct InsLineFields {
    InsLineKind kind = InsLineKind::Ignored;
    InsSection section = InsSection::Other;
    InsSubKind subKind = InsSubKind::None;
    std::string name;          // bracket name of a heading
    int patchBank = -1;        // Patch[...]
    std::string patchBankText;
    int keyBank = -1;          // Key[...] and Drum[...]
    int keyPatch = -1;
    std::string keyText;
    int entryNumber = -1;      // number=text of a list
    bool basedOn = false;      // BasedOn=list of a patch, note or controller list
    InsValueKind valueKind = InsValueKind::None;
    int firstNumber = 0;       // range a..b, or the number
    int secondNumber = 0;
    std::string valueText;     // the value after "=", trimmed
    std::string entryText;     // the text of a list entry
};

// An instrument definition file read line by line: the reader classifies each
// line and hands it to one of seventeen handlers, which do nothing here. A
// handler's non-Ok result stops the reading with that result.
class CInsFileReader : public CLineTextFile {
public:
    // Section names as they stand in the file.
    static constexpr std::string_view kSectionNames[] = {
        ".Instrument Definitions", ".Patch Names", ".Note Names", ".Controller Names", ".RPN Names", ".NRPN Names",
    };

    // Reading: rewinds, then classifies and dispatches every line. Ok at the
    // end of the file; otherwise the read error or the handler's result.
    InsFileResult ReadInsFile();

    // Classifies one line into Fields(), keeping the section state.
    void ClassifyInsLine(std::string_view line);
    const InsLineFields& Fields() const { return fields_; }

    void Reset() override;

protected:
    // Handlers, called by the reading loop
    virtual InsFileResult OnInstrumentDefinitionsHeading() { return InsFileResult::Ok; }
    virtual InsFileResult OnPatchNamesHeading() { return InsFileResult::Ok; }
    virtual InsFileResult OnNoteNamesHeading() { return InsFileResult::Ok; }
    virtual InsFileResult OnControllerNamesHeading() { return InsFileResult::Ok; }
    virtual InsFileResult OnRpnNamesHeading() { return InsFileResult::Ok; }
    virtual InsFileResult OnNrpnNamesHeading() { return InsFileResult::Ok; }
    virtual InsFileResult OnOtherHeading() { return InsFileResult::Ok; }
    virtual InsFileResult OnListHeading() { return InsFileResult::Ok; }
    virtual InsFileResult OnListEntry() { return InsFileResult::Ok; }
    virtual InsFileResult OnPatchLine() { return InsFileResult::Ok; }
    virtual InsFileResult OnDrumLine() { return InsFileResult::Ok; }
    virtual InsFileResult OnKeyLine() { return InsFileResult::Ok; }
    virtual InsFileResult OnControllerLine() { return InsFileResult::Ok; }
    virtual InsFileResult OnRpnLine() { return InsFileResult::Ok; }
    virtual InsFileResult OnNrpnLine() { return InsFileResult::Ok; }
    virtual InsFileResult OnBankSelMethodLine() { return InsFileResult::Ok; }
    virtual InsFileResult OnInstrumentHeading() { return InsFileResult::Ok; }

    InsLineFields fields_;

private:
    InsFileResult Dispatch();
    void ClassifyDefinitionLine(std::string_view key, std::string_view value);
    // False when a number of the value is too large: the line is ignored.
    bool ClassifyValue(std::string_view value);

    InsSection section_ = InsSection::Other;
    bool listSeen_ = false; // a list heading was read in the current section
    std::string bracketName_;
    std::string instrumentName_;
};

// Helpers of the .INS text rules
// The text without blanks (spaces and tabs) at both ends.
std::string_view TrimInsText(std::string_view text);
// The decimal number at the start of `text` after blanks, 0 when none; none
// when it is larger than the largest int (the line that holds it is ignored).
std::optional<int> LeadingInsNumber(std::string_view text);
// Whether `text` is non-empty and holds only digits.
bool IsInsDigits(std::string_view text);

} // namespace zib
