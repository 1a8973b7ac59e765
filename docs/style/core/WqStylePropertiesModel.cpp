#include "docs/style/core/WqStylePropertiesModel.h"

#include "docs/style/core/SheetOk.h"
#include "midi/ValueTexts.h"

#include <algorithm>
#include <cstring>

namespace zib {

namespace {

constexpr size_t kTempo = 11;
constexpr size_t kFlagsA = 13;
constexpr size_t kRanges = 14;
constexpr size_t kFlagsB = 18;
constexpr size_t kTracks = 38;

} // namespace

WqStylePropertiesModel::WqStylePropertiesModel(std::span<uint8_t> image, uint32_t model,
                                               const StyleDocumentNames& names)
    : image_(image), model_(model), names_(names)
{
    const bool wq = model == '9' || model == '<' || model == 'H' || model == 'I' || model == 'M';
    usable_ = wq && image.size() >= (LayoutB() ? 1176u : 1168u);
    if (!usable_) return;
    const size_t width = LayoutB() ? 16 : 10;
    name.assign(reinterpret_cast<const char*>(image.data()), width);
    name.erase(std::find(name.begin(), name.end(), '\0'), name.end());
    for (size_t t = 0; t < 6; ++t) {
        const size_t at = At(kTracks) + 4 * t;
        programs[t] = uint16_t(image[at] | image[at + 1] << 8);
        volumes[t] = image[at + 2];
        pans[t] = image[at + 3];
    }
    tempo = image[At(kTempo)] + 30;
    if (LayoutB()) category = image[18] < 16 ? image[18] : 0;
    for (size_t i = 0; i < 4; ++i) {
        retrigger[i] = (image[At(kFlagsA)] >> (2 + i)) & 1;
        ranges[i] = image[At(kRanges) + i] + 1;
    }
    for (size_t i = 0; i < 3; ++i)
        tension[i] = (image[At(kFlagsB)] >> (3 + i)) & 1;
    startTempo_ = tempo;
    startRanges_ = ranges;
}

bool WqStylePropertiesModel::IsListedProgram(uint32_t model, uint16_t number)
{
    const bool bit7 = (number & 0x80) != 0;
    if (model == 'I' || model == 'M') {
        if (number > (model == 'M' ? 0x40F : 0x427) || bit7) return false;
        if (number >= 0x240 && number <= 0x27F) return false;
        return model != 'M' || number < 0x340 || number > 0x37F;
    }
    return number <= 0x207 && !bit7;
}

std::vector<uint16_t> WqStylePropertiesModel::ProgramNumbers(uint32_t model)
{
    std::vector<uint16_t> out;
    for (uint32_t n = 0; n <= 0x427; ++n)
        if (IsListedProgram(model, uint16_t(n))) out.push_back(uint16_t(n));
    return out;
}

std::vector<std::string> WqStylePropertiesModel::ProgramTexts() const
{
    std::vector<std::string> out;
    for (uint16_t n : ProgramNumbers(model_))
        out.push_back(GetItemProgramName(names_, n));
    return out;
}

std::vector<std::string> WqStylePropertiesModel::TempoTexts()
{
    std::vector<std::string> out;
    for (int t = 40; t <= 240; ++t)
        out.push_back(std::to_string(t));
    return out;
}

std::vector<std::string> WqStylePropertiesModel::PanTexts()
{
    std::vector<std::string> out;
    for (int p = 0; p < 32; ++p)
        out.push_back(GetPanText(p));
    out.push_back(GetPanText(kPanOff));
    return out;
}

int WqStylePropertiesModel::PanIndex(uint8_t pan)
{
    if (pan < 32) return pan;
    return pan == kPanOff ? 32 : -1;
}

std::vector<std::string> WqStylePropertiesModel::CategoryNames()
{
    return {"8 Beat", "16 Beat", "Ballrom", "Dance", "Latin", "Country", "Traditional", "Jazz",
            "R & B",  "Funk",    "Rock",    "World", "User 1", "User 2", "User 3",     "User 4"};
}

bool WqStylePropertiesModel::Ok(std::span<const int> volumeChoices, std::span<const int> panChoices,
                                int categoryChoice)
{
    if (!usable_) return false;
    const bool wrote = WriteChangesBytes(image_, [&](std::span<uint8_t> image) {
        for (size_t t = 0; t < 6; ++t) {
            const size_t at = At(kTracks) + 4 * t;
            image[at] = uint8_t(programs[t]);
            image[at + 1] = uint8_t(programs[t] >> 8);
            if (t < volumeChoices.size() && volumeChoices[t] >= 0 && volumeChoices[t] <= 127)
                image[at + 2] = uint8_t(volumeChoices[t]);
            if (t < panChoices.size() && panChoices[t] >= 0 && panChoices[t] <= 32)
                image[at + 3] = panChoices[t] == 32 ? kPanOff : uint8_t(panChoices[t]);
        }
        // A tempo typed outside the list is clamped, never stored as a wrapped byte.
        if (tempo != startTempo_) image[At(kTempo)] = uint8_t(std::clamp(tempo, 40, 240) - 30);
        uint8_t flagsA = image[At(kFlagsA)] & uint8_t(~0x3C);
        for (size_t i = 0; i < 4; ++i) {
            if (retrigger[i]) flagsA |= uint8_t(1 << (2 + i));
            if (ranges[i] != startRanges_[i])
                image[At(kRanges) + i] = uint8_t(std::clamp(ranges[i], 1, 12) - 1);
        }
        image[At(kFlagsA)] = flagsA;
        uint8_t flagsB = image[At(kFlagsB)] & uint8_t(~0x38);
        for (size_t i = 0; i < 3; ++i)
            if (tension[i]) flagsB |= uint8_t(1 << (3 + i));
        image[At(kFlagsB)] = flagsB;
        if (LayoutB()) {
            if (categoryChoice >= 0 && categoryChoice < 16)
                image[18] = uint8_t(categoryChoice);
            else if (image[18] >= 16)
                image[18] = 0; // shown as 0, stored as 0
        }
    });
    changed = changed || wrote;
    return wrote;
}

const char* QeTrackToWqTrackDlgModel::ChoiceText(int choice)
{
    static constexpr const char* kTexts[] = {"Acc1, Acc2, Acc3", "Acc1, Acc2, Acc4", "Acc1, Acc2, Acc5",
                                             "Acc2, Acc3, Acc4", "Acc2, Acc3, Acc5", "Acc3, Acc4, Acc5"};
    return choice >= 1 && choice <= kChoices ? kTexts[choice - 1] : "";
}

std::array<int, 3> QeTrackToWqTrackDlgModel::QeTracks(int choice)
{
    static constexpr std::array<std::array<int, 3>, 6> kTracks{{{3, 4, 5}, {3, 4, 6}, {3, 4, 7}, {4, 5, 6},
                                                                 {4, 5, 7}, {5, 6, 7}}};
    return choice >= 1 && choice <= kChoices ? kTracks[size_t(choice - 1)] : std::array<int, 3>{3, 4, 5};
}

} // namespace zib
