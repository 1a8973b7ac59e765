#pragma once

#include "docs/program/core/ArrFormat.h"
#include "docs/program/core/DialogControl.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace zib {

using ArrControl = DialogControl;

// One page of the "Arrangement properties" sheet without its window: its
// controls filled from an arrangement record and written back into it. A
// control the user did not change leaves its bytes as they were, except the
// fixed normalisations (a wrap of 12-254 becomes 255, an octave outside
// -2..2 becomes 0, a family-A fill word above 12 becomes 0).
//
//   1 IDD 151 "Style, KbdAssign"        tempo, style, init variation, split, keyboard assign
//   2 IDD 152 "Drum Map, Chord  Scan"   transpose, kick, snare, chord scan flags, drum maps
//   3 IDD 153 "TrackParam1"             program, volume, pan, C and D send of nine rows
//   4 IDD 154 "Track Param 2"           octave, wrap, play, ext/int, synchro, damper, joystick
//   5 IDD 155 "Ensemble, Fill"          ensemble, fill 1, fill 2
class ArrPageModel {
public:
    // The program texts of page 3 follow the view's form.
    ArrPageModel(int page, const ArrDocModel& doc, ArrProgramForm form);

    int Page() const { return page_; }
    int DialogId() const { return 150 + page_; }
    const char* Title() const;

    std::vector<ArrControl>& Controls() { return controls_; }
    const std::vector<ArrControl>& Controls() const { return controls_; }
    ArrControl* Control(int id);
    // Sets a list entry, check or radio button by its text (lists: the first
    // entry that begins with it); false when no option fits.
    bool Choose(int id, const std::string& text);

    void Read(std::span<const uint8_t> record);
    bool IsRead() const { return read_; }
    void Write(std::vector<uint8_t>& record) const;

    // Control ids
    enum : int {
        kTempo = 1001, kStyle, kInitVar, kSplit, kAssign,
        kTranspose = 1101, kKick, kSnare, kScanLow, kScanHigh, kBassInversion, kChordHold, kChordLatch,
        kMap1 = 1120, // to kMap1 + 3
        kRows = 1200, // page 3: kRows + 10 * row + (0 program, 1 volume, 2 pan, 3 C send, 4 D send)
        kRows4 = 1300, // page 4: + 10 * row + (0 octave, 1 wrap, 2 play, 3 ext/int, 4 synchro, 5 damper, 6 joystick)
        kEnsemble = 1401, kFill1, kFill2,
    };
    // The nine rows of pages 3 and 4: DRUM, PERC, BASS, ACC1-ACC3, UP1, UP2, LOW.
    static const char* RowName(int row);

private:
    struct Binding {
        int control;
        // The control's value from the record, and its store into it.
        std::function<int(std::span<const uint8_t>)> read;
        std::function<void(std::vector<uint8_t>&, const std::vector<ArrControl>&)> write;
        // Stores even when unchanged (the fixed normalisations).
        std::function<bool(const ArrControl&)> always;
    };
    ArrControl& Add(ArrControl control);
    void Bind(int control, std::function<int(std::span<const uint8_t>)> read,
              std::function<void(std::vector<uint8_t>&, const std::vector<ArrControl>&)> write,
              std::function<bool(const ArrControl&)> always = {});
    const ArrControl& Get(const std::vector<ArrControl>& controls, int id) const;
    void BuildPage1(const ArrDocModel& doc);
    void BuildPage2(const ArrDocModel& doc);
    void BuildPage3(const ArrDocModel& doc, ArrProgramForm form);
    void BuildPage4(const ArrDocModel& doc);
    void BuildPage5(const ArrDocModel& doc);

    int page_;
    bool familyA_;
    bool read_ = false;
    std::vector<ArrControl> controls_;
    std::vector<Binding> bindings_;
};

// The sheet: five pages over a working copy of one record. Leaving a page
// applies it to the copy; OK applies the page shown and puts a copy that
// differs from the record into the document (marked modified); Cancel drops
// the copy.
class ArrSheetModel {
public:
    ArrSheetModel(ArrDocModel& doc, int row, ArrProgramForm form);

    ArrPageModel& Page(int page) { return pages_[size_t(page - 1)]; }
    std::string ItemName() const; // "Arrangement Name:", Windows-1252
    // A page becomes shown (read from the copy the first time) or is left.
    void Show(int page);
    void Leave(int page);
    void Ok(int shownPage);
    const std::vector<uint8_t>& Copy() const { return copy_; }

private:
    ArrDocModel& doc_;
    int row_;
    std::vector<uint8_t> copy_;
    std::vector<ArrPageModel> pages_;
};

} // namespace zib
