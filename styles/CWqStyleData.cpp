#include "styles/CWqStyleData.h"

#include <array>
#include <cassert>
#include <cstdio>

#include "styles/StyleSeriesTraits.h"

namespace zib {

namespace {

constexpr std::array<const char*, 10> kElementNames = {
    "Variation1", "Variation2", "Variation3", "Variation4", "Intro1",
    "Intro2",     "End1",       "End2",       "Fill1",      "Fill2"};
constexpr std::array<const char*, 6> kTrackNames = {"DRUM", "PERC", "BASS", "ACC1", "ACC2", "ACC3"};
constexpr std::array<const char*, 6> kCvNames = {"CV1", "CV2", "CV3", "CV4", "CV5", "CV6"};

// Drum-kit programs by kit number, per model.
constexpr std::array<uint8_t, 8> kKits9 = {0, 16, 25, 32, 40, 64, 0, 0};
constexpr std::array<uint8_t, 16> kKits6 = {0, 16, 25, 32, 40, 64, 0, 0, 26, 48, 2, 28, 0, 1, 64, 0};
constexpr std::array<uint8_t, 28> kKitsH = {0, 16, 25, 32, 40, 64, 0, 0, 26, 48, 2, 28, 0, 8,
                                            1, 64, 12, 2, 1, 65, 10, 0, 12, 3, 3, 1, 16, 0};
constexpr std::array<uint8_t, 16> kKitsM = {0, 1, 8, 16, 24, 25, 26, 32, 40, 48, 64, 65, 116, 56, 0, 0};
constexpr std::array<uint8_t, 40> kKitsI = {0, 1, 8,  16, 24, 25, 26, 32, 40, 48, 64, 65, 116, 56,
                                            14, 17, 67, 65, 2, 3, 32, 16, 15, 40, 9, 8, 16, 13,
                                            10, 25, 50, 0, 0, 0, 0, 0, 0, 0, 0, 0};

uint32_t soundInfo(uint32_t bank, uint32_t program) { return (bank << 16) + program; }

template <size_t N>
uint32_t kitInfo(uint32_t kind, uint8_t number, const std::array<uint8_t, N>& kits)
{
    return number < N ? soundInfo(kind, kits[number]) : soundInfo(kind, 0);
}

bool elementOk(uint8_t element)
{
    assert(wq::isValidElement(element));
    return wq::isValidElement(element);
}
bool cvOk(uint8_t element, uint8_t cv)
{
    assert(wq::isValidCv(element, cv));
    return wq::isValidCv(element, cv);
}
bool trackOk(uint8_t track)
{
    assert(wq::isValidTrack(track));
    return wq::isValidTrack(track);
}

} // namespace

// Head fields

std::string CWqStyleData::GetRawStyleName() const
{
    std::string name;
    for (uint32_t i = 0; i < GetLayout().nameWidth; ++i) {
        uint8_t c = u8At(i);
        if (c == 0) break;
        name.push_back(char(c));
    }
    return name;
}

std::string CWqStyleData::GetStyleName() const { return MakeFileNameSafe(GetRawStyleName()); }

std::string CWqStyleData::MakeFileNameSafe(std::string_view name)
{
    std::string out;
    for (char ch : name) {
        uint8_t c = uint8_t(ch);
        if (c == 0) break;
        bool bad = c < 32 || c >= 127;
        switch (c) {
        case '\\': case '/': case ':': case '*': case '?': case '"': case '>': case '<':
        case '|': case '.': case '`': case '\'': case ' ':
            bad = true;
            break;
        default:
            break;
        }
        out.push_back(bad ? '_' : ch);
    }
    return out;
}

uint8_t CWqStyleData::GetWrapAround(uint8_t index) const
{
    assert(index < 4);
    return index < 4 ? u8At(GetLayout().wrapAround + index) : 0;
}

bool CWqStyleData::GetHeaderFlag(uint8_t track) const
{
    if (track < 3 || track > 5) return false;
    return (GetTensionByte() >> track) & 1;
}

// Track records

uint16_t CWqStyleData::GetTrackWord(uint8_t, uint8_t track) const
{
    return trackOk(track) ? u16At(GetLayout().trackRecords + 4u * track) : 0;
}

uint8_t CWqStyleData::GetTrackParam(uint8_t, uint8_t track) const
{
    return trackOk(track) ? u8At(GetLayout().trackRecords + 4u * track + 2) : 0;
}

uint8_t CWqStyleData::GetTrackPan(uint8_t track) const
{
    return trackOk(track) ? u8At(GetLayout().trackRecords + 4u * track + 3) : 0;
}

// The sound word as a MIDI bank word and program: kinds 2 and 4 are drum
// kits whose programs come from the model's kit table.
uint32_t CWqStyleData::GetCvTrackInfo(uint8_t element, uint8_t track) const
{
    uint16_t word = GetTrackWord(element, track);
    int kind = int8_t(word >> 8);
    uint8_t number = uint8_t(word & 0xFF);
    uint32_t m = GetModel();
    switch (kind) {
    case 0:
    case 1:
        return soundInfo(uint32_t(kind), number);
    case 2:
        if (m == '9') return kitInfo(2, number, kKits9);
        if (m == '<') return kitInfo(2, number, kKits6);
        if (m == 'H') return kitInfo(2, number, kKitsH);
        if (m == 'M') return soundInfo(2, number);
        if (m == 'I') return soundInfo(2, number < 64 ? number : 0);
        return soundInfo(2, 0);
    case 3:
        if (m == '9') return soundInfo(0, 0);
        if (m == '<' || m == 'H' || m == 'I') return soundInfo(3, number < 128 ? number : 0);
        if (m == 'M') return soundInfo(3, number < 64 ? number : 0);
        return soundInfo(3, 0);
    case 4:
        if (m == 'M') return kitInfo(4, number, kKitsM);
        if (m == 'I') return kitInfo(4, number, kKitsI);
        return soundInfo(0, 0);
    default:
        return soundInfo(0, 0);
    }
}

// Chord variations

uint8_t CWqStyleData::GetCvKeyByte(uint8_t element, uint8_t cv) const
{
    return cvOk(element, cv) ? u8At(GetLayout().cvRecords + 2u * wq::cvIndexOf(element, cv)) : 0;
}

uint8_t CWqStyleData::GetCvLength(uint8_t element, uint8_t cv) const
{
    return cvOk(element, cv) ? u8At(GetLayout().cvRecords + 2u * wq::cvIndexOf(element, cv) + 1) : 0;
}

uint8_t CWqStyleData::GetCvKey(uint8_t element, uint8_t cv, uint8_t) const
{
    uint8_t key = GetCvKeyByte(element, cv);
    return key < 24 ? key / 2 : 0;
}

uint8_t CWqStyleData::GetCvChordType(uint8_t element, uint8_t cv, uint8_t) const
{
    uint8_t key = GetCvKeyByte(element, cv);
    if (key >= 24) return 0;
    return (key & 1) ? 9 : 2;
}

bool CWqStyleData::IsChordVarEmpty(uint8_t element, uint8_t cv) const
{
    if (!cvOk(element, cv)) return true;
    if (GetCvLength(element, cv) == 0) return true;
    int first = wq::cvIndexOf(element, cv) * wq::kTrackCount;
    return GetOffsetEntry(first) == GetOffsetEntry(first + wq::kTrackCount);
}

bool CWqStyleData::IsStyleElementEmpty(uint8_t element) const
{
    if (!elementOk(element)) return true;
    for (int cv = 0; cv < wq::cvCountOf(element); ++cv)
        if (!IsChordVarEmpty(element, uint8_t(cv))) return false;
    return true;
}

bool CWqStyleData::HasTrackData(uint8_t element, uint8_t cv, uint8_t track) const
{
    if (!cvOk(element, cv) || !trackOk(track)) return false;
    int slot = wq::trackSlotOf(element, cv, track);
    return GetOffsetEntry(slot) != GetOffsetEntry(slot + 1);
}

// Chord tables

uint8_t CWqStyleData::GetElementList(uint8_t element, uint8_t chordIndex) const
{
    assert(chordIndex < wq::kChordTableSize);
    if (!elementOk(element) || chordIndex >= wq::kChordTableSize) return 0;
    return u8At(GetLayout().chordTables + wq::kChordTableSize * element + chordIndex);
}

bool CWqStyleData::IsInElementList(uint8_t element, uint8_t value) const
{
    if (!elementOk(element)) return false;
    for (uint8_t i = 0; i < wq::kChordTableSize; ++i)
        if (GetElementList(element, i) == value) return true;
    return false;
}

// Pattern table and offset table

uint8_t CWqStyleData::GetPatternTimeSig(int pattern) const
{
    assert(pattern >= 0 && pattern < wq::kPatternCount);
    return pattern >= 0 && pattern < wq::kPatternCount ? u8At(GetLayout().patternTable + 2u * pattern) : 0;
}

uint8_t CWqStyleData::GetPatternLength(int pattern) const
{
    assert(pattern >= 0 && pattern < wq::kPatternCount);
    return pattern >= 0 && pattern < wq::kPatternCount ? u8At(GetLayout().patternTable + 2u * pattern + 1) : 0;
}

uint16_t CWqStyleData::GetOffsetEntry(int entry) const
{
    assert(entry >= 0 && entry < wq::kOffsetEntryCount);
    return entry >= 0 && entry < wq::kOffsetEntryCount ? u16At(GetLayout().offsetTable + 2u * entry) : 0;
}

std::span<const uint8_t> CWqStyleData::GetEntryRun(int entry) const
{
    if (entry < 0 || entry >= wq::kEndEntry) return {};
    size_t begin = GetOffsetEntry(entry);
    size_t end = GetOffsetEntry(entry + 1);
    if (begin >= size_ || end <= begin) return {};
    if (end > size_) end = size_;
    return {image_ + begin, end - begin};
}

std::span<const uint8_t> CWqStyleData::GetPatternRun(int pattern) const
{
    if (pattern < 0 || pattern >= wq::kPatternCount) return {};
    return GetEntryRun(wq::kPatternEntryBase + pattern);
}

// Name tables

const char* CWqStyleData::GetStyleElementName(int element)
{
    return element >= 0 && element < int(kElementNames.size()) ? kElementNames[size_t(element)] : "???";
}

const char* CWqStyleData::GetTrackName(int track)
{
    return track >= 0 && track < int(kTrackNames.size()) ? kTrackNames[size_t(track)] : "???";
}

const char* CWqStyleData::GetCvName(int cv)
{
    return cv >= 0 && cv < int(kCvNames.size()) ? kCvNames[size_t(cv)] : "???";
}

// The key texts are those of the CV commands; chord type 0 is "no chord",
// 1-20 are the Wq chord names of the Table command.
const char* CWqStyleData::GetKeyName(int keyByte)
{
    auto names = WqCvKeyNames();
    return keyByte >= 0 && keyByte < int(names.size()) ? names[size_t(keyByte)] : "CMajor";
}

const char* CWqStyleData::GetChordTypeName(int chordType)
{
    auto names = WqStyleSeries().chordNames;
    if (chordType == 0) return "-";
    return chordType >= 1 && chordType <= int(names.size()) ? names[size_t(chordType - 1)] : "Major";
}

std::string CWqStyleData::GetNoteName(int note)
{
    if (note < 0 || note > 127) return "???";
    char text[16];
    std::snprintf(text, sizeof text, "%s%d", StyleKeyNames()[size_t(note % 12)], note / 12 - 1);
    return text;
}

std::string CWqStyleData::GetTickPositionText(uint16_t ticks)
{
    if (ticks == wq::kTie) return "TIE";
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d", ticks / wq::kTicksPerQuarter + 1, ticks % wq::kTicksPerQuarter);
    return text;
}

std::string CWqStyleData::GetTickLengthText(uint16_t ticks)
{
    if (ticks == wq::kTie) return "TIE";
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d", ticks / wq::kTicksPerQuarter, ticks % wq::kTicksPerQuarter);
    return text;
}

} // namespace zib
