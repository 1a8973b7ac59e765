#pragma once

#include "docs/program/core/DialogControl.h"
#include "docs/program/core/GblDocModel.h"
#include "docs/program/core/PedalSwDlgModel.h"
#include "docs/program/core/ScaleDlgModel.h"

#include <string>
#include <vector>

namespace zib {

// The "Global Data" dialog (203) of a global-data document without its
// window, on a copy of the image: the pedal and switch list (a double click
// opens the "Pedal & SW Dialog"), the user-scale list (a double click opens
// the "Scale Dialog", which writes into this copy), and the lists, radio
// groups and check boxes of the block's fields; the model's missing fields
// are disabled. OK gives the changed image: a control left as it was keeps
// its bytes, so a list without a selection or a radio group with no button
// checked keeps its field.
class GlobalDataDlgModel {
public:
    // Control ids; the buttons of a radio group take the group's id + 0, 1, 2 ...
    enum : int {
        kPedalList = 1400, kScaleList = 1401, kMasterTune = 1402,
        kDamper = 1403, kMidiClock = 1405, kBaud = 1407, kTranspose = 1409, kClock = 1412, kLocal = 1414,
        kDiscardGm = 1420, kExclusive, kControlChange, kAftertouch, kProgBank, kProgramChange,
        kChannel = 1430, kPedal1, kPedal2, kNormalType, kNormalKey, kSpecialType, kSpecialKey,
        kVelocityCurve = 1440, kAftertouchCurve, kRitType, kRitBeat, kAccType, kAccBeat,
        kMidiInVelocity, kOctaveLow, kOctaveUp, kJoyLow, kJoyUp1, kJoyUp2, kEchoBack,
    };

    explicit GlobalDataDlgModel(const GblDocModel& doc);

    const char* Title() const { return model_ == 'I' ? "WQ41 Global Data" : "WQR65 Global Data"; }
    std::vector<DialogControl> controls;
    DialogControl* Control(int id);
    const DialogControl* Control(int id) const;

    // The pedal and switch table: names of at most 8 characters and codes.
    struct Pedal {
        std::string name;
        size_t byte;
        int code;
    };
    std::vector<Pedal> pedals;
    PedalSwDlgModel PedalSwDialog(int line) const;
    void SetPedalCode(int line, int code); // the "Pedal & SW Dialog"'s OK
    ScaleDlgModel ScaleDialog(int scale) const;
    void SetScale(int scale, const std::array<uint8_t, 12>& bytes); // the "Scale Dialog"'s OK

    std::vector<uint8_t> Ok() const;
    const std::vector<uint8_t>& Image() const { return image_; }

private:
    std::string PedalLine(int line) const;
    void Add(DialogControl control, int value, bool enabled = true);

    int model_;
    std::vector<uint8_t> image_;
    std::vector<std::string> pedalNames_; // the model's function names (the 'M' assignable pedal: by name)
    std::vector<int> pedalCodes_;
};

} // namespace zib
