#include "midi/ProgramNames.h"
#include "midi/NameTableLoader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

using namespace zib;

namespace {

const std::array<int, 5> kWqModels = {57, 60, 72, 73, 77};

std::array<char, 17> nameField(const char* text)
{
    std::array<char, 17> field{};
    std::memcpy(field.data(), text, std::min<size_t>(std::strlen(text), 17));
    return field;
}

StyleDocumentNames styleDocument(int model, int fileKind = 2)
{
    StyleDocumentNames doc;
    doc.model = model;
    doc.fileKind = fileKind;
    return doc;
}

} // namespace

TEST(ProgramNames, ShippedTablesAreCompleteAndClean)
{
    const NameTables& tables = builtInNameTables();
    for (const auto& problem : tables.problems())
        ADD_FAILURE() << problem;
}

// The entries of the keyboards' tables that are known, per model.
TEST(ProgramNames, KnownTableEntries)
{
    const NameTables& t = builtInNameTables();
    const std::vector<std::tuple<int, NameTable, int, const char*>> entries = {
        {57, NameTable::BankA, 0, "A11  Piano"},
        {57, NameTable::BankA, 63, "A88  SynBrass 2"},
        {57, NameTable::BankB, 0, "B11  SopranoSax"},
        {57, NameTable::BankB, 63, "B88  Gunshot"},
        {57, NameTable::BankC, 0, "C11  MIDI Piano"},
        {57, NameTable::DrumKits, 0, "Dr1  GM Kit"},
        {57, NameTable::DrumKits, 7, "Dr8  User 2"},
        {60, NameTable::BankA, 0, "A11  Piano"}, // banks A and B are shared by 57, 60 and 72
        {72, NameTable::BankB, 63, "B88  Gunshot"},
        {60, NameTable::BankD, 0, "D11  Piano 8'"},
        {60, NameTable::BankD, 63, "D88  Ana Str 2"},
        {60, NameTable::BankE, 0, "E11 Oooooooze"},
        {60, NameTable::DrumKits, 0, "Dr11  GM Kit"},
        {60, NameTable::DrumKits, 15, "Dr28  GP Kit"},
        {72, NameTable::BankD, 0, "D11  Piano 8'"}, // 72 has the D and E names of 60
        {72, NameTable::BankE, 0, "E11 Oooooooze"},
        {72, NameTable::DrumKits, 0, "Dr11  GM Kit"},
        {72, NameTable::DrumKits, 27, "Dr44  Gypsy Kit"},
        {77, NameTable::BankA, 0, "A11 Piano 1"},
        {77, NameTable::BankB, 0, "B11 Soprano Sax"},
        {77, NameTable::BankC, 0, "C11 90's Piano"},
        {77, NameTable::BankD, 0, "D11 AltoBreath"},
        {77, NameTable::BankE, 0, "E11 Piano&Strgs"},
        {77, NameTable::BankE, 63, "E88 Brass Fall"},
        {77, NameTable::DrumKits, 0, "Dr11  GM Kit 1"},
        {77, NameTable::DrumKits, 15, "Dr28  User 2"},
        {73, NameTable::BankA, 0, "A11 Piano 1"}, // 73 has the A and B names of 77
        {73, NameTable::BankB, 0, "B11 Soprano Sax"},
        {73, NameTable::BankD, 63, "D88 Solo Wahfeedback"},
        {73, NameTable::DrumKits, 0, "R11  GM Kit 1"},
        {73, NameTable::DrumKits, 39, "R58  User Kit 8"},
    };
    for (const auto& [model, table, row, text] : entries)
        EXPECT_EQ(t.entry(model, table, row).value_or("<absent>"), text) << model << " row " << row;

    const std::vector<std::tuple<int, int, const char*>> styles = {
        {57, 0, "Open Rock"},  {57, 1, "Pop Rock"},   {57, 2, "Hard Rock"},  {57, 3, "RockShuffl"},
        {57, 47, "Dixieland"}, {60, 3, "RockShuffl"}, {60, 47, "Dixieland"}, {60, 71, "Techno"},
        {72, 0, "8 Beat 1"},   {72, 2, "8 Beat 3"},   {72, 3, "Lite Rock"},  {72, 103, "Film Score"},
        {77, 3, "8 Beat 4"},   {77, 127, "New Age"},  {77, 64, "I. Waltz"},  {77, 70, "WaltzMusette"},
        {73, 0, "8 Beat 1"},   {73, 127, "New Age"},  {73, 64, "Valzer"},    {73, 70, "Valzer Muset"},
    };
    for (const auto& [model, row, text] : styles)
        EXPECT_EQ(t.entry(model, NameTable::StyleNames, row).value_or("<absent>"), text)
            << model << " " << row;
    // The 'M' and 'I' style tables differ only in entries 64 and 70.
    for (int row = 0; row < 128; ++row) {
        if (row == 64 || row == 70) continue;
        EXPECT_EQ(t.entry(77, NameTable::StyleNames, row), t.entry(73, NameTable::StyleNames, row)) << row;
    }
}

TEST(ProgramNames, TableShapes)
{
    const std::vector<std::tuple<int, int, int, int, int>> shapes = {
        // model, banks, kits, multisamples, styles
        {57, 3, 8, 341, 48},   {60, 5, 16, 341, 72},  {72, 5, 28, 343, 104},
        {73, 5, 40, 523, 128}, {77, 5, 16, 523, 128},
    };
    const std::array<NameTable, 5> banks = {NameTable::BankA, NameTable::BankB, NameTable::BankC,
                                            NameTable::BankD, NameTable::BankE};
    for (const auto& [model, bankCount, kits, multisamples, styles] : shapes) {
        for (int b = 0; b < 5; ++b)
            EXPECT_EQ(NameTables::rowCount(model, banks[size_t(b)]), b < bankCount ? 64 : 0);
        EXPECT_EQ(NameTables::rowCount(model, NameTable::DrumKits), kits) << model;
        EXPECT_EQ(NameTables::rowCount(model, NameTable::Multisamples), multisamples) << model;
        EXPECT_EQ(NameTables::rowCount(model, NameTable::StyleNames), styles) << model;
    }
    EXPECT_EQ(NameTables::rowCount(70, NameTable::BankA), 0);
    EXPECT_EQ(NameTables::maxWidth(73, NameTable::BankD), 21);
    EXPECT_EQ(NameTables::maxWidth(77, NameTable::BankD), 19);
    EXPECT_EQ(NameTables::maxWidth(77, NameTable::DrumKits), 21);
    EXPECT_EQ(NameTables::maxWidth(60, NameTable::DrumKits), 19);
}

TEST(ProgramNames, PositionTexts)
{
    const std::vector<std::tuple<int, uint16_t, const char*>> cases = {
        {57, 0x0000, "A11 "}, {57, 0x003F, "A88 "},  {57, 0x0040, "B11 "},  {57, 0x0100, "C11 "},
        {57, 0x0145, "U16 "}, {57, 0x0203, "Dr4 "},  {57, 0x0207, "Dr8 "},  {57, 0x0208, "???"},
        {57, 0x0300, "?11 "}, {57, 0x0340, "?11 "},  {60, 0x020F, "Dr28 "}, {60, 0x0210, "???"},
        {60, 0x0300, "D11 "}, {60, 0x037F, "E88 "},  {72, 0x021B, "Dr44 "}, {72, 0x021C, "???"},
        {72, 0x0280, "???"}, // kit number is the low byte
        {77, 0x0140, "D11 "}, {77, 0x0200, "E11 "},  {77, 0x0240, "F11 "},  {77, 0x0300, "F11 "},
        {77, 0x0340, "?11 "}, {77, 0x0400, "Dr11 "}, {77, 0x042D, "Dr66 "}, {77, 0x0500, "?11 "},
        {73, 0x0240, "?11 "}, {73, 0x0300, "F11 "},  {73, 0x0346, "G17 "},  {73, 0x0400, "R11 "},
        {73, 0x042D, "R66 "}, {73, 0x0440, "?11 "},  {70, 0x0100, "???"}, // not a Wq model
    };
    for (const auto& [model, number, text] : cases)
        EXPECT_EQ(GetProgramPositionText(model, number), text) << model << " 0x" << std::hex << number;
}

TEST(ProgramNames, ParseProgramPosition)
{
    const std::vector<std::tuple<const char*, int, int>> cases = {
        {"A11", 57, 0x0000},
        {"A88", 57, 0x003F},
        {"B11", 57, 0x0040},
        {"C11", 77, 0x0100},
        {"U11", 57, 0x0140},
        {"U11", 77, 0x0100},
        {"D11", 60, 0x0300},
        {"D11", 73, 0x0140},
        {"E11", 72, 0x0340},
        {"E11", 77, 0x0200},
        {"F11", 77, 0x0300},
        {"G17", 73, 0x0346},
        {"R11 ", 73, 0x0400},
        {"R58", 73, 0x0427},
        {"Dr1", 57, 0x0200},
        {"Dr8", 57, 0x0207},
        {"Dr28", 60, 0x020F},
        {"Dr44", 72, 0x021B},
        {"Dr11", 77, 0x0400},
        {"Dr11", 73, 0x0000},
        {"Z23", 77, 0x000A},
        {"a23", 77, 0x000A},
        // Digits outside 1-8, or missing, are refused.
        {"A01", 57, -1},
        {"A19", 57, -1},
        {"A9", 57, -1},
        {"A1", 57, -1},
        {"", 57, -1},
        {"Dr0", 57, -1},
        {"Dr9", 57, -1},
        {"Dr", 57, -1},
        {"Dr1", 60, -1},
        {"Dr19", 77, -1},
    };
    for (const auto& [text, model, number] : cases)
        EXPECT_EQ(ParseProgramPosition(text, model), number) << "\"" << text << "\" model " << model;
}

// Every number of every bank a model names reads back from its position text.
TEST(ProgramNames, PositionTextsParseBack)
{
    const std::vector<std::pair<int, std::vector<int>>> bankBits = {
        {57, {0x000, 0x040, 0x100, 0x140}},
        {60, {0x000, 0x040, 0x100, 0x140, 0x300, 0x340}},
        {72, {0x000, 0x040, 0x100, 0x140, 0x300, 0x340}},
        {73, {0x000, 0x040, 0x100, 0x140, 0x200, 0x300, 0x340, 0x400}},
        {77, {0x000, 0x040, 0x100, 0x140, 0x200, 0x300, 0x400}},
    };
    for (const auto& [model, banks] : bankBits) {
        for (int bits : banks)
            for (int index = 0; index < 64; ++index) {
                auto number = uint16_t(bits | index);
                EXPECT_EQ(ParseProgramPosition(GetProgramPositionText(model, number), model), number)
                    << model << " 0x" << std::hex << number;
            }
        if (model == 73 || model == 77) continue;
        for (int kit = 0; kit < NameTables::rowCount(model, NameTable::DrumKits); ++kit) {
            auto number = uint16_t(0x200 | kit);
            EXPECT_EQ(ParseProgramPosition(GetProgramPositionText(model, number), model), number)
                << model << kit;
        }
    }
}

TEST(ProgramNames, ProgramAndDrumKitNamesByModel)
{
    const std::vector<std::tuple<int, int, int>> counts = {
        {57, 341, 8}, {60, 341, 16}, {72, 343, 28}, {73, 523, 40}, {77, 523, 16}};
    for (const auto& [model, programs, kits] : counts) {
        EXPECT_NE(GetProgramName(model, programs - 1), "???") << model;
        EXPECT_EQ(GetProgramName(model, programs), "???") << model;
        EXPECT_EQ(GetProgramName(model, -1), "???") << model;
        EXPECT_NE(GetDrumKitName(model, kits - 1), "???") << model;
        EXPECT_EQ(GetDrumKitName(model, kits), "???") << model;
    }
    EXPECT_EQ(GetDrumKitName(57, 0), "Dr1  GM Kit");
    EXPECT_EQ(GetDrumKitName(73, 39), "R58  User Kit 8");
    EXPECT_EQ(GetProgramName(70, 0), "????");
    EXPECT_EQ(GetDrumKitName(88, 0), "????");
}

TEST(ProgramNames, ItemProgramNames)
{
    std::vector<std::array<char, 17>> userNames(128);
    userNames[0] = nameField("My Piano");
    userNames[5] = nameField("Sixteen chars!!!"); // a full field without its NUL
    userNames[64] = nameField("Upper Half");

    StyleDocumentNames wq8 = styleDocument(57);
    EXPECT_EQ(GetItemProgramName(wq8, 0x0000), "A11  Piano");
    EXPECT_EQ(GetItemProgramName(wq8, 0x0040), "B11  SopranoSax");
    EXPECT_EQ(GetItemProgramName(wq8, 0x0100), "C11  MIDI Piano");
    EXPECT_EQ(GetItemProgramName(wq8, 0x0203), GetDrumKitName(57, 3));
    EXPECT_EQ(GetItemProgramName(wq8, 0x0208), "???"); // past the kits
    EXPECT_EQ(GetItemProgramName(wq8, 0x0140), "U11"); // user names not read
    EXPECT_EQ(GetItemProgramName(wq8, 0x0300), "?11");
    wq8.userProgramNames = userNames;
    EXPECT_EQ(GetItemProgramName(wq8, 0x0140), "U11"); // read flag still off
    wq8.userNamesPresent = true;
    EXPECT_EQ(GetItemProgramName(wq8, 0x0140), "U11  My Piano");
    EXPECT_EQ(GetItemProgramName(wq8, 0x0145), "U16  Sixteen chars!!!");

    StyleDocumentNames wq41 = styleDocument(73);
    wq41.userProgramNames = userNames;
    wq41.userNamesPresent = true;
    EXPECT_EQ(GetItemProgramName(wq41, 0x0300), "F11  My Piano");
    EXPECT_EQ(GetItemProgramName(wq41, 0x0340), "G11  Upper Half"); // the second 64 names
    EXPECT_EQ(GetItemProgramName(wq41, 0x0400), "R11  GM Kit 1");
    EXPECT_EQ(GetItemProgramName(wq41, 0x0428), "???"); // kit 40
    EXPECT_EQ(GetItemProgramName(wq41, 0x017F), "D88 Solo Wahfeedback");

    StyleDocumentNames wqr65 = styleDocument(77);
    wqr65.userProgramNames = userNames;
    wqr65.userNamesPresent = true;
    EXPECT_EQ(GetItemProgramName(wqr65, 0x0000), "A11 Piano 1");
    EXPECT_EQ(GetItemProgramName(wqr65, 0x0240), "F11  My Piano"); // both F forms give entry 0
    EXPECT_EQ(GetItemProgramName(wqr65, 0x0300), "F11  My Piano");
    EXPECT_EQ(GetItemProgramName(wqr65, 0x040F), "Dr28  User 2");
    EXPECT_EQ(GetItemProgramName(wqr65, 0x0410), "???");

    // Too few user names: the code alone, never a read past the table.
    wqr65.userProgramNames = std::span(userNames).first(1);
    EXPECT_EQ(GetItemProgramName(wqr65, 0x0301), "F12");

    EXPECT_EQ(GetItemProgramName(styleDocument('F'), 0x0000), "???");
    for (int model : kWqModels)
        for (int number = 0; number < 0x800; ++number)
            EXPECT_LE(GetItemProgramName(styleDocument(model), uint16_t(number)).size(), 28u);
}

TEST(ProgramNames, BankedProgramNamesOnlyForWq8AndWqR65)
{
    EXPECT_EQ(GetBankedProgramName(57, 0x003F), "A88  SynBrass 2");
    EXPECT_EQ(GetBankedProgramName(77, 0x0200), "E11 Piano&Strgs");
    EXPECT_EQ(GetBankedProgramName(77, 0x0300), "F11");
    for (int model : {60, 72, 73, 70})
        EXPECT_EQ(GetBankedProgramName(model, 0x0000), "???") << model;
}

TEST(ProgramNames, UserBankPositionText)
{
    EXPECT_EQ(GetUserBankPositionText(styleDocument(57, 2), 0), "U11");
    EXPECT_EQ(GetUserBankPositionText(styleDocument(57, 2), 13), "U26");
    EXPECT_EQ(GetUserBankPositionText(styleDocument(57, 2), 63), "U88");
    EXPECT_EQ(GetUserBankPositionText(styleDocument(57, 2), -1), "???");
    EXPECT_EQ(GetUserBankPositionText(styleDocument(57, 0), 0), "???");
    EXPECT_EQ(GetUserBankPositionText(styleDocument(57, 5), 3), "???");
}

TEST(ProgramNames, MappingTablesHaveTheirRows)
{
    const NameTables& t = builtInNameTables();
    struct Shape {
        int from, to;
        size_t rows; // without the end row
        uint16_t firstSource;
        const char* firstSourceText;
        uint16_t firstTarget;
        const char* firstTargetText;
    };
    const std::vector<Shape> shapes = {
        {57, 77, 69, 0x0100, "C11", 0x0202, "E13"},  {57, 73, 70, 0x0100, "C11", 0x0202, "E13"},
        {60, 77, 272, 0x0100, "C11", 0x0202, "E13"}, {60, 73, 272, 0x0100, "C11", 0x0202, "E13"},
        {72, 77, 284, 0x0100, "C11", 0x0202, "E13"}, {72, 73, 284, 0x0100, "C11", 0x0202, "E13"},
        {77, 73, 30, 0x0108, "C21", 0x0008, "A21"},  {73, 77, 72, 0x0108, "C21", 0x0101, "C12"},
    };
    for (const auto& s : shapes) {
        const auto& rows = t.programMap(s.from, s.to);
        ASSERT_EQ(rows.size(), s.rows) << s.from << "->" << s.to;
        EXPECT_EQ(rows[0].source, s.firstSource);
        EXPECT_EQ(rows[0].sourcePosition, s.firstSourceText);
        EXPECT_EQ(rows[0].target, s.firstTarget);
        EXPECT_EQ(rows[0].targetPosition, s.firstTargetText);
        // Each row's position texts name its numbers.
        for (const auto& row : rows) {
            EXPECT_EQ(GetProgramPositionText(s.from, row.source), row.sourcePosition + " ");
            EXPECT_EQ(GetProgramPositionText(s.to, row.target), row.targetPosition + " ");
        }
    }
}

TEST(ProgramNames, MapProgramNumber)
{
    const std::vector<std::tuple<int, int, uint16_t, uint16_t>> cases = {
        {57, 77, 0x0100, 0x0202}, {57, 77, 0x0150, 0x0310}, // index 80 of model 57 moves to bank 3 at once
        {57, 73, 0x017F, 0x033F}, {57, 77, 0x0050, 0x0050}, // general programs never change
        {57, 73, 0x0100, 0x0202}, {57, 77, 0x0207, 0x0207}, // not in the table
        {60, 73, 0x0100, 0x0202}, {77, 73, 0x0108, 0x0008},
        {77, 73, 0x0150, 0x0150}, // 77 -> 73 leaves indexes 64-127
        {73, 77, 0x0108, 0x0108}, // 73 -> 77 maps only indexes 64 and above
        {73, 77, 0x0140, 0x0140}, {73, 77, 0x0345, 0x0305},
        {77, 57, 0x0202, 0x0100}, // back to 57 through the table 57 -> 77
        {73, 57, 0x0202, 0x0100}, {73, 57, 0x0999, 0x0999},
        {60, 72, 0x0100, 0x0100},                           // a pair without a table
        {77, 60, 0x0202, 0x0202}, {40, 77, 0x0100, 0x0100}, // source model outside 57-77
        {88, 73, 0x0100, 0x0100},
    };
    for (const auto& [from, to, number, mapped] : cases)
        EXPECT_EQ(MapProgramNumber(from, to, number), mapped)
            << from << "->" << to << " 0x" << std::hex << number;

    // Every row maps its source number, unless an earlier rule or row takes it.
    const NameTables& t = builtInNameTables();
    const std::array<std::pair<int, int>, 6> direct = {
        {{57, 77}, {57, 73}, {60, 77}, {60, 73}, {72, 77}, {72, 73}}};
    for (const auto& [from, to] : direct)
        for (const auto& row : t.programMap(from, to))
            EXPECT_EQ(MapProgramNumber(from, to, row.source), row.target)
                << from << "->" << to << row.sourcePosition;
}

TEST(ProgramNames, LookupsWithoutTablesSayNotFound)
{
    const NameTables empty;
    EXPECT_EQ(GetProgramName(57, 0, empty), "???");
    EXPECT_EQ(GetDrumKitName(57, 0, empty), "???");
    EXPECT_EQ(GetItemProgramName(styleDocument(57), 0x0000, empty), "???");
    EXPECT_EQ(GetItemProgramName(styleDocument(57), 0x0140, empty), "U11");
    EXPECT_EQ(MapProgramNumber(57, 77, 0x0100, empty), 0x0100);
    EXPECT_EQ(MapProgramNumber(57, 77, 0x0150, empty), 0x0310);
}
