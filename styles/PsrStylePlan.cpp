#include "styles/PsrStylePlan.h"

namespace zib {

namespace {

constexpr const char* kElementNames[kPsrElementCount] = {"VAR1", "VAR2",  "VAR3",  "VAR4", "INT1",
                                                         "INT2", "FILL1", "FILL2", "END1", "END2"};
constexpr const char* kTrackNames[kQeTrackCount] = {"DRUM", "PERC", "BASS", "ACC1", "ACC2", "ACC3", "ACC4", "ACC5"};
constexpr const char* kCvNames[kPsrMaxCvs] = {"CV1", "CV2", "CV3", "CV4", "CV5", "CV6"};
constexpr const char* kValueNames[kPsrValueCount] = {"HBank", "LBank", "Expr", "Prog"};

// Sections named by the setting's letters: intros and endings A-C, fills A-F.
constexpr int kIntroSections[] = {3, 8, 12};                // Intro A, B, C
constexpr int kEndingSections[] = {4, 9, 13};               // Ending A, B, C
constexpr int kFillSections[] = {1, 2, 6, 7, 11, 15};       // Fill In AA, AB, BA, BB, CC, DD
constexpr int kMainSections[] = {0, 5, 10, 14};             // Main A-D -> VAR1-VAR4

// Largest letter value of each of the ten positions.
constexpr int kLetterLimit[10] = {3, 3, 3, 3, 2, 2, 5, 5, 2, 2};

} // namespace

const char* PsrElementName(int element)
{
    return element >= 0 && element < kPsrElementCount ? kElementNames[element] : "???";
}

const char* PsrTrackName(int track) { return track >= 0 && track < kQeTrackCount ? kTrackNames[track] : "???"; }

const char* PsrCvName(int cv) { return cv >= 0 && cv < kPsrMaxCvs ? kCvNames[cv] : "???"; }

const char* PsrValueName(PsrValue value) { return kValueNames[size_t(value)]; }

uint32_t ScalePsrTicks(uint64_t ticks, uint16_t division)
{
    if (division == 0) return 0;
    // ticks x 384 / division, plus one when the first decimal is 5 or more
    const uint64_t scaled = (ticks * 768 + division) / (2 * uint64_t(division));
    return scaled > UINT32_MAX ? UINT32_MAX : uint32_t(scaled);
}

bool IsValidPsrStyToQeSty(std::string_view letters)
{
    if (letters.size() != 10) return false;
    for (size_t i = 0; i < 10; ++i)
        if (letters[i] < 'A' || letters[i] - 'A' > kLetterLimit[i]) return false;
    return true;
}

std::array<int, kPsrSectionCount> MapPsrSections(std::string_view letters)
{
    if (!IsValidPsrStyToQeSty(letters)) letters = kDefaultPsrStyToQeSty;
    std::array<int, kPsrSectionCount> element;
    element.fill(-1);
    for (int e = 0; e < 4; ++e) element[size_t(kMainSections[e])] = e;

    const auto pair = [&](size_t at, const int* sections, int firstElement) {
        const int a = letters[at] - 'A';
        const int b = letters[at + 1] - 'A';
        if (a >= b) return;
        element[size_t(sections[a])] = firstElement;
        element[size_t(sections[b])] = firstElement + 1;
    };
    pair(4, kIntroSections, 4);
    pair(6, kFillSections, 6);
    pair(8, kEndingSections, 8);
    return element;
}

void PsrStylePlan::Reset(std::string_view letters)
{
    division = 96;
    sections = {};
    for (auto& section : sections) section.destChannel.fill(255);
    elements = {};
    for (auto& element : elements) {
        for (auto& cv : element.patternNumber) cv.fill(-1);
        element.tracks[0].bankMsb = 120;
        element.tracks[1].bankMsb = 120;
    }
    sectionElement = MapPsrSections(letters);
    elementSection.fill(-1);
    for (int s = 0; s < kPsrSectionCount; ++s)
        if (sectionElement[size_t(s)] >= 0) elementSection[size_t(sectionElement[size_t(s)])] = s;
    elementMask = 0;
    differentPatterns = 0;
    references = 0;
}

} // namespace zib
