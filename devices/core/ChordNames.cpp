#include "devices/core/ChordNames.h"

#include "midi/ValueTexts.h"

#include <array>
#include <cstdio>

namespace zib {

namespace {

constexpr std::array<std::string_view, 12> kRootNames = {"C ", "C#", "D ", "D#", "E ", "F",
                                                         "F#", "G",  "G#", "A",  "A#", "B"};

// Aligned so that the 9ths, 11ths and 13ths of the sets stand in columns.
constexpr std::array<std::string_view, kTensionSetCount> kTensionSetNames = {
    " ",          "b9",        " 9",         "#9",        "    11",     "   #11",
    "       13",  "b9  11",    "b9     13",  "b9 #11",    "b9  11 13",  "b9\t#11 13",
    " 9  11",     " 9     13", " 9 #11",     " 9  11 13", " 9 #11 13",  "#9  11",
    "#9     13",  "#9 #11",    "#9  11 13",  "#9 #11 13", "    11 13",  "   #11 13",
};

} // namespace

std::string_view GetChordRootName(int root)
{
    if (root < 0 || root >= int(kRootNames.size())) return "??";
    return kRootNames[size_t(root)];
}

std::string GetChordTypeDisplayName(int type)
{
    if (type == kChordTypeNo3rd || type == kChordTypeNo3rdNo5th) return GetQeChordName(kChordTypeMajor);
    if (type < 0 || type > kChordTypeNo3rd) return "??";
    return GetQeChordName(type);
}

std::string_view GetTensionSetName(int tension)
{
    if (tension < 0 || tension >= kTensionSetCount) return " ";
    return kTensionSetNames[size_t(tension)];
}

std::string FormatChordDisplay(const Chord& chord)
{
    const std::string root(GetChordRootName(chord.root));
    const std::string type = GetChordTypeDisplayName(chord.type);
    const std::string tension(GetTensionSetName(chord.tension));
    char text[64];
    std::snprintf(text, sizeof text, "%2s %-10s %s", root.c_str(), type.c_str(), tension.c_str());
    return text;
}

} // namespace zib
