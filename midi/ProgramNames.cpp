#include "midi/ProgramNames.h"

#include <cstring>

namespace zib {

namespace {

const char* const kUnknown = "???";
const char* const kUnknownModel = "????";
constexpr size_t kMaxItemProgramName = 28;

// Models 57, 60 and 72 share the bank layout under the mask 0x340.
bool isFamilyA(int model)
{
    return model == 57 || model == 60 || model == 72;
}

// What the bank bits of a program number stand for on a model.
enum class BankKind { NameTable, UserBank, DrumKit, NoBank };

struct ProgramSlot {
    BankKind kind = BankKind::NoBank;
    NameTable table = NameTable::BankA;
    const char* letter = "?";
    int index = 0;   // program index within the bank, or the kit number
    int userRow = 0; // row of the document's user program names
};

ProgramSlot bankSlot(NameTable table, const char* letter, int index)
{
    return {BankKind::NameTable, table, letter, index, 0};
}

ProgramSlot userSlot(const char* letter, int index, int userRow)
{
    return {BankKind::UserBank, NameTable::BankA, letter, index, userRow};
}

// Bank and index of a number on a Wq model.
//   bits   57/60/72 (0x340)        73/77 (0x740)
//   0x000  A                       A
//   0x040  B                       B
//   0x100  C                       C
//   0x140  U (user)                D
//   0x200  drum kits (low byte)    E
//   0x240  -                       F (user, 77)
//   0x300  D (60, 72)              F (user)
//   0x340  E (60, 72)              G (user 65-128, 73)
//   0x400  -                       drum kits: Dr (77), R (73)
ProgramSlot classify(int model, uint16_t number)
{
    const int index = number & 0x3F;
    ProgramSlot none;
    none.index = index;
    if (isFamilyA(model)) {
        switch (number & 0x340) {
        case 0x000:
            return bankSlot(NameTable::BankA, "A", index);
        case 0x040:
            return bankSlot(NameTable::BankB, "B", index);
        case 0x100:
            return bankSlot(NameTable::BankC, "C", index);
        case 0x140:
            return userSlot("U", index, index);
        case 0x200:
            return {BankKind::DrumKit, NameTable::DrumKits, "Dr", number & 0xFF, 0};
        case 0x300:
            return model == 57 ? none : bankSlot(NameTable::BankD, "D", index);
        case 0x340:
            return model == 57 ? none : bankSlot(NameTable::BankE, "E", index);
        default:
            return none;
        }
    }
    switch (number & 0x740) {
    case 0x000:
        return bankSlot(NameTable::BankA, "A", index);
    case 0x040:
        return bankSlot(NameTable::BankB, "B", index);
    case 0x100:
        return bankSlot(NameTable::BankC, "C", index);
    case 0x140:
        return bankSlot(NameTable::BankD, "D", index);
    case 0x200:
        return bankSlot(NameTable::BankE, "E", index);
    case 0x240:
        return model == 77 ? userSlot("F", index, index) : none;
    case 0x300:
        return userSlot("F", index, index);
    case 0x340:
        return model == 73 ? userSlot("G", index, 64 + index) : none;
    case 0x400:
        return {BankKind::DrumKit, NameTable::DrumKits, model == 77 ? "Dr" : "R", index, 0};
    default:
        return none;
    }
}

std::string twoDigits(int index)
{
    return {char('1' + (index >> 3)), char('1' + (index & 7))};
}

// The position code without its trailing blank; "" for a family-A kit past
// the model's kits.
std::string positionCode(int model, const ProgramSlot& slot)
{
    if (slot.kind == BankKind::DrumKit && isFamilyA(model)) {
        if (slot.index >= NameTables::rowCount(model, NameTable::DrumKits)) return {};
        if (model == 57) return "Dr" + std::to_string(slot.index + 1);
    }
    return slot.letter + twoDigits(slot.index);
}

// A 17-byte user name field up to its NUL.
std::string userName(const std::array<char, 17>& field)
{
    const char* end = static_cast<const char*>(std::memchr(field.data(), 0, 16));
    return std::string(field.data(), end ? size_t(end - field.data()) : 16);
}

std::string tableEntry(const NameTables& tables, int model, NameTable table, int row)
{
    auto entry = tables.entry(model, table, row);
    return entry ? std::string(*entry) : kUnknown;
}

std::string programListText(int model, uint16_t number, const StyleDocumentNames* document,
                            const NameTables& tables)
{
    if (!NameTables::isWqModel(model)) return kUnknown;
    ProgramSlot slot = classify(model, number);
    switch (slot.kind) {
    case BankKind::NameTable:
    case BankKind::DrumKit:
        return tableEntry(tables, model, slot.table, slot.index);
    case BankKind::UserBank: {
        std::string code = positionCode(model, slot);
        if (document && document->userNamesPresent &&
            size_t(slot.userRow) < document->userProgramNames.size())
            code += "  " + userName(document->userProgramNames[size_t(slot.userRow)]);
        return code.substr(0, kMaxItemProgramName);
    }
    case BankKind::NoBank:
        break;
    }
    return positionCode(model, slot);
}

// A digit 1-8 of a position text as 0-7; -1 when absent or out of range.
int positionDigit(std::string_view text, size_t at)
{
    if (at >= text.size() || text[at] < '1' || text[at] > '8') return -1;
    return text[at] - '1';
}

int twoDigitIndex(std::string_view text, size_t at)
{
    int high = positionDigit(text, at);
    int low = positionDigit(text, at + 1);
    return high < 0 || low < 0 ? -1 : high * 8 + low;
}

} // namespace

std::string GetProgramPositionText(int model, uint16_t number)
{
    if (!NameTables::isWqModel(model)) return kUnknown;
    std::string code = positionCode(model, classify(model, number));
    return code.empty() ? kUnknown : code + " ";
}

int ParseProgramPosition(std::string_view text, int model)
{
    const bool familyA = isFamilyA(model);
    if (text.substr(0, 2) == "Dr") {
        int bank = model == 77 ? 4 : familyA ? 2 : 0;
        int index = 0;
        if (model == 57)
            index = positionDigit(text, 2);
        else if (model == 77 || model == 60 || model == 72)
            index = twoDigitIndex(text, 2);
        return index < 0 ? -1 : bank << 8 | index;
    }
    const char letter = text.empty() ? '\0' : text[0];
    int bank = 0;
    switch (letter) {
    case 'C':
    case 'U':
        bank = 1;
        break;
    case 'D':
        bank = model == 60 || model == 72 ? 3 : 1;
        break;
    case 'E':
        bank = model == 60 || model == 72 ? 3 : 2;
        break;
    case 'F':
    case 'G':
        bank = 3;
        break;
    case 'R':
        bank = 4;
        break;
    default:
        bank = 0;
        break;
    }
    int index = twoDigitIndex(text, 1);
    if (index < 0) return -1;
    const bool secondHalf = familyA ? (letter == 'B' || letter == 'U' || letter == 'E')
                                    : (letter == 'B' || letter == 'D' || letter == 'G');
    if (secondHalf) index += 64;
    return bank << 8 | index;
}

std::string GetProgramName(int model, int number, const NameTables& tables)
{
    if (!NameTables::isWqModel(model)) return kUnknownModel;
    return tableEntry(tables, model, NameTable::Multisamples, number);
}

std::string GetDrumKitName(int model, int number, const NameTables& tables)
{
    if (!NameTables::isWqModel(model)) return kUnknownModel;
    return tableEntry(tables, model, NameTable::DrumKits, number);
}

std::string GetItemProgramName(const StyleDocumentNames& document, uint16_t number, const NameTables& tables)
{
    return programListText(document.model, number, &document, tables);
}

std::string GetBankedProgramName(int model, uint16_t number, const NameTables& tables)
{
    if (model != 57 && model != 77) return kUnknown;
    return programListText(model, number, nullptr, tables);
}

std::string GetUserBankPositionText(const StyleDocumentNames& document, int index)
{
    if (document.fileKind != 2 || index < 0) return kUnknown;
    std::string text = "U";
    text += std::to_string(index / 8 + 1);
    text += std::to_string(index % 8 + 1);
    return text;
}

uint16_t MapProgramNumber(int fromModel, int toModel, uint16_t number, const NameTables& tables)
{
    if (number < 256 || fromModel < 57 || fromModel > 77) return number;
    const int index = number & 0xFF;
    if (fromModel == 57 && index >= 64 && index <= 127) return uint16_t(0x300 + index - 64);
    if (fromModel == 73 && toModel == 77 && index < 64) return number;
    if (fromModel == 77 && toModel == 73 && index >= 64 && index <= 127) return number;

    // The directions back to model 57 read the tables from 57 backwards.
    if (toModel == 57 && (fromModel == 73 || fromModel == 77)) {
        for (const auto& row : tables.programMap(57, fromModel))
            if (row.target == number) return row.source;
        return number;
    }
    for (const auto& row : tables.programMap(fromModel, toModel))
        if (row.source == number) return row.target;
    return number;
}

} // namespace zib
