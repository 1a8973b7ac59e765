#include "ui/texts/ZibMessageTable.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string_view>

namespace zib {
namespace {

struct EnglishMessage {
    int number;
    std::string_view text;
};

// Every message the program shows, exactly as it reads in English, odd
// spellings included ("blok", "tact denominator", "no selected any").
constexpr EnglishMessage kEnglishMessages[] = {
    {2, "Memory allocation failed!"},
    {3, "This name is not allowed"},
    {4, "Action successfully finished"},
    {5, "Fatal error during last action"},
    {6, "Cannot read instrument definitions"},
    {7, "Cannot register application defined message"},
    {8, "Cannot register application defined clipboard format"},
    {9, "Cannot open file"},
    {10, "Cannot reposition inside file"},
    {11, "Cannot read file"},
    {12, "Cannot determine file size"},
    {13, "GetFileSize failed!"},
    {14, "Bad file size! File possibly corrupted!"},
    {15, "Wrong number of bytes read!"},
    {16, "Cannot save empty file"},
    {17, "Not DASK or not supported file format!"},
    {18, "File Format NOT supported"},
    {19, "File type not supported"},
    {20, "Unknown file format!"},
    {21, "Fatal error while deleting items"},
    {22, "Fatal error while emptying items"},
    {23, "There is no focused item"},
    {24, "There is no selected item"},
    {25, "Insertion stopped - LIMIT reached!"},
    {26, "Imported File not expected format - Insertion failed!"},
    {27, "Not expected size of import file"},
    {28, "Error while converting item!"},
    {29, "AddItem failed"},
    {30, "Cannot create new item"},
    {31, "Fatal error: data are damaged!"},
    {32, "Add Icon failed"},
    {33, "Cannot attach to clipboard"},
    {34, "Cannot get clipboard data"},
    {35, "Wrong clipboard data size"},
    {36, "Wrong clipboard data type"},
    {37, "Cannot move inside selected blok!!! Try moving in other way!"},
    {38, "Cannot import Wq-series PCG to Qe-series PCG!"},
    {39, "Cannot import Qe-series PCG to Wq-series PCG!"},
    {40, "Cannot import Wq41/WqR65 program to Wq8/WqT517/Wq6 PCG file!"},
    {41, "Cannot import Wq41/WqR65 drumkit to Wq8/WqT517/Wq6 PCG file!"},
    {42, "Cannot mix DRUMKIT and ORDINARY sounds!"},
    {43, "Cannot change DRUMKIT bank to ORDINARY sound bank!"},
    {44, "Cannot change ORDINARY sound bank to DRUMKIT bank!"},
    {45, "Cannot load popup menu"},
    {46, "File possibly corrupted - empty file"},
    {47, "Incorrect file format while saving data"},
    {48, "Cannot fill QE output buffer"},
    {49, "Cannot manage DASK factory sound banks due to copyright restrictions!"},
    {50, "Cannot process empty item"},
    {51, "Cannot convert Qe-style to Wq-style"},
    {52, "Cannot import Qe9z style into Qe4k STY file"},
    {53, "Cannot import Wq-series style to Qe-series STY file"},
    {54, "Cannot import QE-series style to wq-series STY file"},
    {55, "Cannot add sound info to imported item"},
    {56, "Cannot copy zero-size STS item"},
    {58, "Cannot playback empty style!"},
    {59, "Cannot create text viewer window"},
    {60, "Cannot open report file"},
    {61, "Cannot update text description file"},
    {62, "Fatal error - Cannot change track properties"},
    {63, "Fatal error - Cannot recreate FMT0 track buffer"},
    {64, "Fatal error - Cannot recreate FMT1 track buffers"},
    {65, "Fatal error - Cannot recreate file image buffer"},
    {66, "Fatal error - Cannot allocate output MIDI buffer"},
    {67, "Fatal error - Cannot write output MIDI buffer"},
    {68, "Cannot create new midi template"},
    {69, "From-Thru positions are equal - no events for transposition!"},
    {70, "Cannot create track object"},
    {71, "Cannot read instrument names"},
    {72, "Cannot extract instrument definition"},
    {73, "Wrong clipboard data format"},
    {74, "Cannot copy data to clipboard"},
    {75, "Cannot create SMF buffer"},
    {76, "Cannot prepare CV MIDI buffer"},
    {77, "Cannot import CV MIDI buffer"},
    {78, "Empty CV! Cannot copy to clipboard"},
    {79, "Do you really want to delete style element?"},
    {80, "Do you really want to delete chord variation?"},
    {81, "Do you really want to delete track?"},
    {82, "Cannot add Chord Variation"},
    {83, "Cannot paste from Qe9z to Qe4k format"},
    {84, "Cannot Prepare Midi Event"},
    {85, "Fatal error - No tact denominator"},
    {86, "STS not pasted!"},
    {87, "Cannot paste style performance"},
    {88, "Cannot paste STS data"},
    {89, "Cannot allocate space for midi event"},
    {90, "Error: cannot create midi event"},
    {91, "Fatal error - Cannot shift MIDI events"},
    {92, "Cannot recreate last MIDI event changes"},
    {93, "Cannot recreate VexSound events"},
    {94, "Cannot import MIDI data to style"},
    {95, "Cannot recreate style buffer"},
    {96, "Cannot paste data"},
    {97, "Serious error in measure parameter"},
    {98, "Cannot allocate stream buffers"},
    {99, "Cannot open any MIDI OUT port"},
    {100, "Cannot open default MIDI OUT port"},
    {101, "Cannot restart MIDI OUT ports"},
    {102, "Cannot create new tempo event"},
    {103, "Show More Details"},
    {104, "Show Less Details"},
    {105, "Select any Chord Variation MIDI file"},
    {106, "Select Yamaha Style File"},
    {107, "WARNING: Number of available OUT ports differs from last time!"},
    {108, "Select MIDI ports"},
    {109, "Configure Instruments"},
    {110, "Convert MIDI to Wq-series style"},
    {111, "Convert MIDI to Qe-series style"},
    {112, "WARNING: There is no selected any MIDI INPUT ports"},
    {113, "WARNING: There is no selected any MIDI OUTPUT ports"},
    {114, "You will not hear any playback!!!"},
    {115, "Port - Instrument Relation"},
    {116, "Show Style View"},
    {117, "Show STS View"},
    {118, "Show Sound View"},
    {119, "Show Drumkit View"},
    {120, "Convert Qe-style To Wq-style"},
};

TEST(ZibMessageTable, EveryEnglishTextIsExact)
{
    for (const auto& expected : kEnglishMessages)
        EXPECT_EQ(ZibMessage(expected.number, kLanguageEnglish), expected.text)
            << "message " << expected.number;
}

TEST(ZibMessageTable, NumbersWithoutTextReadEmptyInEveryLanguage)
{
    std::set<int> listed;
    for (const auto& expected : kEnglishMessages)
        listed.insert(expected.number);
    ASSERT_EQ(listed.size(), 118u);
    for (int number = 0; number < kZibMessageCount; ++number) {
        if (listed.count(number)) continue;
        for (int language = 0; language < kLanguageCount; ++language)
            EXPECT_EQ(ZibMessage(number, language), "") << "message " << number << " language " << language;
    }
}

TEST(ZibMessageTable, EveryMessageHasItalianAndGerman)
{
    for (const auto& expected : kEnglishMessages) {
        EXPECT_FALSE(ZibMessage(expected.number, kLanguageItalian).empty()) << "message " << expected.number;
        EXPECT_FALSE(ZibMessage(expected.number, kLanguageGerman).empty()) << "message " << expected.number;
    }
}

TEST(ZibMessageTable, GermanIsTheEnglishTextExactlyFor105To115And120)
{
    for (int number = 0; number < kZibMessageCount; ++number) {
        const bool englishInGerman = (number >= 105 && number <= 115) || number == 120;
        const std::string& english = ZibMessage(number, kLanguageEnglish);
        if (english.empty()) continue;
        if (englishInGerman)
            EXPECT_EQ(ZibMessage(number, kLanguageGerman), english) << "message " << number;
        else
            EXPECT_NE(ZibMessage(number, kLanguageGerman), english) << "message " << number;
        EXPECT_NE(ZibMessage(number, kLanguageItalian), english) << "message " << number;
    }
}

TEST(ZibMessageTable, ColumnsAreEnglishItalianGerman)
{
    EXPECT_EQ(ZibMessage(9, kLanguageEnglish), "Cannot open file");
    EXPECT_EQ(ZibMessage(9, kLanguageItalian), "Impossibile aprire il file");
    EXPECT_EQ(ZibMessage(9, kLanguageGerman), "Datei kann nicht ge\xC3\xB6"
                                              "ffnet werden");
}

// A stored AppLanguage of 3 or 4 (or anything else out of range) reads the
// English column, also for the last message, whose neighbour column would lie
// past the end of the table.
TEST(ZibMessageTable, LanguageOutsideTheThreeColumnsReadsEnglish)
{
    for (const int language : {3, 4, 5, -1, INT_MAX, INT_MIN}) {
        for (const int number : {2, 8, 119, 120})
            EXPECT_EQ(ZibMessage(number, language), ZibMessage(number, kLanguageEnglish))
                << "message " << number << " language " << language;
    }
}

TEST(ZibMessageTable, UnknownMessageNumberReadsEmpty)
{
    for (const int number : {-1, 121, 122, 363, 1000, INT_MAX, INT_MIN})
        for (const int language : {0, 1, 2, 3, -1})
            EXPECT_EQ(ZibMessage(number, language), "") << "message " << number << " language " << language;
}

TEST(ZibMessageTable, ReferencesStayValid)
{
    const std::string& first = ZibMessage(59, kLanguageItalian);
    for (int number = 0; number < kZibMessageCount; ++number)
        ZibMessage(number, kLanguageGerman);
    EXPECT_EQ(&first, &ZibMessage(59, kLanguageItalian));
}

} // namespace
} // namespace zib
