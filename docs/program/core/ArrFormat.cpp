#include "docs/program/core/ArrFormat.h"
#include "docs/program/core/PcgLayout.h"

#include <algorithm>
#include <cstdio>

namespace zib {

namespace {

std::string code(char letter, int p)
{
    return std::string(1, letter) + char('1' + p / 8) + char('1' + p % 8);
}

std::string nameOf(const ArrDocModel::UserName& name)
{
    return std::string(name.data(), std::find(name.begin(), name.end(), '\0'));
}

// The built-in bank table of a bank letter A-E.
NameTable bankTable(char letter)
{
    return NameTable(int(NameTable::BankA) + (letter - 'A'));
}

// What a word stands for on a model.
struct ProgramRef {
    enum Kind { Bank, Kit, User, None, Blank } kind = None;
    char letter = '?'; // bank or user code letter
    int index = 0;     // p, or the kit number
    int userEntry = 0; // entry of the user program names
};

ProgramRef refOf(int model, uint16_t w)
{
    const int p = w & 0x3F;
    ProgramRef r;
    r.index = p;
    if (pcg::IsFamilyA(model)) {
        switch (w & 0x340) {
        case 0x000: return {ProgramRef::Bank, 'A', p};
        case 0x040: return {ProgramRef::Bank, 'B', p};
        case 0x100: return {ProgramRef::Bank, 'C', p};
        case 0x140: return {ProgramRef::User, 'U', p, p};
        case 0x200: return {ProgramRef::Kit, 'D', w & 0xFF};
        case 0x300:
            if (model != '9') return {ProgramRef::Bank, 'D', p};
            return {ProgramRef::Blank, '?', p};
        case 0x340:
            if (model != '9') return {ProgramRef::Bank, 'E', p};
            return {ProgramRef::Blank, '?', p};
        default: // 0x240
            return {model == '9' ? ProgramRef::Blank : ProgramRef::None, '?', p};
        }
    }
    switch (w & 0x740) {
    case 0x000: return {ProgramRef::Bank, 'A', p};
    case 0x040: return {ProgramRef::Bank, 'B', p};
    case 0x100: return {ProgramRef::Bank, 'C', p};
    case 0x140: return {ProgramRef::Bank, 'D', p};
    case 0x200: return {ProgramRef::Bank, 'E', p};
    case 0x240:
        if (model == 'M') return {ProgramRef::User, 'F', p, p};
        break;
    case 0x300: return {ProgramRef::User, 'F', p, p};
    case 0x340:
        if (model == 'I') return {ProgramRef::User, 'G', p, 64 + p};
        break;
    case 0x400: return {ProgramRef::Kit, 'R', p};
    default: break;
    }
    r.kind = model == 'I' && (w & 0x740) > 0x400 ? ProgramRef::Blank : ProgramRef::None;
    return r;
}

} // namespace

std::string FormatArrProgramName(const ArrDocModel& doc, uint16_t w, ArrProgramForm form, const NameTables& tables)
{
    const int model = doc.model;
    if (!NameTables::isWqModel(model)) return "NUL";
    const ProgramRef r = refOf(model, w);
    const int kits = NameTables::rowCount(model, NameTable::DrumKits);
    const bool b = !pcg::IsFamilyA(model);
    if (form == ArrProgramForm::Code) {
        const std::string blank = b || model != '9' ? " " : "";
        switch (r.kind) {
        case ProgramRef::Bank:
        case ProgramRef::User: return code(r.letter, r.index) + blank;
        case ProgramRef::Kit:
            if (model == 'I') return code('R', r.index) + " ";
            if (model == 'M') return "Dr" + code('1', r.index).substr(1);
            if (r.index >= kits) return "NUL";
            if (model == '9') return "Dr" + std::string(1, char('1' + r.index));
            return "Dr" + code('1', r.index).substr(1);
        case ProgramRef::None:
        case ProgramRef::Blank:
            // Family A has no code for these; 'M' and 'I' show '?' for the bank.
            return b ? code('?', r.index) + " " : "NUL";
        }
        return "NUL";
    }
    switch (r.kind) {
    case ProgramRef::Bank:
        if (const auto e = tables.entry(model, bankTable(r.letter), r.index)) return std::string(*e);
        return "NUL";
    case ProgramRef::Kit:
        if (r.index < kits)
            if (const auto e = tables.entry(model, NameTable::DrumKits, r.index)) return std::string(*e);
        return "NUL";
    case ProgramRef::User: {
        const std::string c = code(r.letter, r.index);
        if (!doc.userProgramNamesRead) return c;
        return c + "  " + nameOf(doc.userProgramNames[size_t(r.userEntry)]);
    }
    case ProgramRef::Blank: return {};
    case ProgramRef::None: return "NUL";
    }
    return "NUL";
}

std::string ArrPositionLabel(int model, int index)
{
    char text[8];
    const int q = index / 8 + 1, r = index % 8 + 1;
    if (pcg::IsFamilyA(model))
        std::snprintf(text, sizeof text, "D%1d%1d", q % 10, r);
    else if (model == 'M')
        std::snprintf(text, sizeof text, "U%1d%1d", q % 10, r);
    else if (index < 64)
        std::snprintf(text, sizeof text, "F%1d%1d", q % 10, r);
    else
        std::snprintf(text, sizeof text, "G%1d%1d", (index / 8 - 7) % 10, r);
    return text;
}

namespace {

// The first user style number of a family-A model, and its style count.
int firstUserStyle(int model)
{
    return model == '9' ? 48 : model == '<' ? 72 : 104;
}

char styleLetter(int model, int s)
{
    if (model == '9') return s < 48 ? 'A' : s < 52 ? 'U' : '?';
    if (model == '<') return s < 64 ? 'A' : s < 72 ? 'B' : s < 76 ? 'U' : '?';
    if (model == 'H') return s < 64 ? 'A' : s < 104 ? 'B' : s < 108 ? 'U' : '?';
    switch (s & 0x340) {
    case 0x000: return 'A';
    case 0x040: return 'B';
    case 0x100: return 'U';
    default: return '?';
    }
}

int userStyleIndex(int model, int s)
{
    switch (model) {
    case '9': return s & 207;
    case '<': return s & 183;
    case 'H': return s & 151;
    default: return s & 127;
    }
}

} // namespace

std::string ArrStyleLabel(int model, uint16_t style)
{
    const int s = style;
    const bool userA = pcg::IsFamilyA(model) && s >= firstUserStyle(model);
    const int first = userA ? ((s - firstUserStyle(model)) / 8 % 8) + 1 : (s / 8 % 8) + 1;
    return std::string(1, styleLetter(model, s)) + char('0' + first) + char('0' + s % 8 + 1);
}

std::string ArrStyleText(const ArrDocModel& doc, uint16_t style, const NameTables& tables)
{
    const int model = doc.model;
    const std::string label = ArrStyleLabel(model, style);
    const char letter = label[0];
    if (letter == 'A' || letter == 'B') {
        if (const auto e = tables.entry(model, NameTable::StyleNames, style)) return label + ": " + std::string(*e);
        return label + ": ???";
    }
    if (letter == 'U') {
        const int index = userStyleIndex(model, style);
        // The document's table holds 48 user styles; an index past them has no name.
        if (doc.userStyleNamesRead && index < 48)
            return label + ": " + nameOf(doc.userStyleNames[size_t(index)]);
        char text[40];
        std::snprintf(text, sizeof text, "%s: UserSt%03d", label.c_str(), index);
        return text;
    }
    return label + ": ???";
}

} // namespace zib
