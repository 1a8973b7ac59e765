#pragma once

#include "midi/ProgramNames.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zib {

// The "Style Parameters" dialog of one Wq style item, without its window:
// the head values it shows and writes back into the item's style image.
// Offsets for layout A ('9', '<', 'H') / layout B ('I', 'M'):
//
//   tempo byte        11 / 19   tempo = value + 30 (40-240)
//   category          -  / 18   0-15 (layout B only)
//   flags byte A      13 / 21   bits 2-5: note retrigger of BASS, ACC1-ACC3
//   shift-up ranges   14-17 / 22-25   BASS, ACC1-ACC3: range - 1 (0-11)
//   flags byte B      18 / 26   bits 3-5: tension of ACC1-ACC3
//   track records     38 / 46 + 4t    u16 program (low byte first), volume, pan
//
// Only the named bits of the two flags bytes change.
class WqStylePropertiesModel {
public:
    static constexpr uint8_t kPanOff = 255;

    // The values of the image; not usable when the model is no Wq model or
    // the image is shorter than its head.
    WqStylePropertiesModel(std::span<uint8_t> image, uint32_t model, const StyleDocumentNames& names);
    bool Usable() const { return usable_; }
    bool LayoutB() const { return model_ == 'I' || model_ == 'M'; }

    // The lists
    // The program numbers a track may take on the model, in order.
    static std::vector<uint16_t> ProgramNumbers(uint32_t model);
    static bool IsListedProgram(uint32_t model, uint16_t number);
    std::vector<std::string> ProgramTexts() const;
    // "40" .. "240"
    static std::vector<std::string> TempoTexts();
    // The 32 pan texts and "OFF"
    static std::vector<std::string> PanTexts();
    // The list entry of a pan value: 0-31 itself, 255 the last ("OFF"), -1 none.
    static int PanIndex(uint8_t pan);
    // "8 Beat" ... "User 4"
    static std::vector<std::string> CategoryNames();

    // Values shown at start (and changed by the dialog before Ok)
    std::string name;
    std::array<uint16_t, 6> programs{};
    std::array<uint8_t, 6> volumes{};
    std::array<uint8_t, 6> pans{};
    int tempo = 0;                // 40-240 as shown
    int category = 0;             // layout B; a stored index of 16 or more shows 0
    std::array<bool, 4> retrigger{};
    std::array<int, 4> ranges{};  // 1-12 as shown
    std::array<bool, 3> tension{};

    // OK: writes the fields back. A tempo changed to a value outside 40-240
    // is clamped into it (the byte never wraps), a changed range into 1-12;
    // a tempo or range as shown at start keeps its stored byte, and -1 for a
    // volume, pan or category keeps the stored value (a category of 16 or
    // more, shown as 0, is stored as 0). True, and `changed` set, when the
    // image's bytes changed; false for an image as it was or a model that is
    // not usable.
    bool Ok(std::span<const int> volumeChoices, std::span<const int> panChoices, int categoryChoice);
    bool changed = false;

private:
    size_t At(size_t layoutA) const { return LayoutB() ? layoutA + 8 : layoutA; }

    std::span<uint8_t> image_;
    uint32_t model_;
    StyleDocumentNames names_;
    bool usable_ = false;
    // The tempo and ranges shown at start: one left so is not clamped into its list.
    int startTempo_ = 0;
    std::array<int, 4> startRanges_{};
};

// The choice of "Setup Qe-track to Wq-track conversion": 1-6 for the six
// track sets ("Acc1, Acc2, Acc3" ... "Acc3, Acc4, Acc5").
struct QeTrackToWqTrackDlgModel {
    static constexpr int kChoices = 6;
    static const char* ChoiceText(int choice); // 1-6; empty otherwise
    // The Qe tracks (ACC1 = 3 ... ACC5 = 7) that become Acc1-Acc3 for a choice.
    static std::array<int, 3> QeTracks(int choice);

    // The button checked at start: the setting's value when it is 1-6, else none (0).
    static int CheckedAtStart(int setting) { return setting >= 1 && setting <= kChoices ? setting : 0; }
    // OK: the first checked button, or the setting unchanged when none is.
    static int Ok(int setting, int checked) { return checked >= 1 && checked <= kChoices ? checked : setting; }
};

} // namespace zib
