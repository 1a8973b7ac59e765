#pragma once

#include "docs/program/core/PrgPageTables.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace zib {

class PcgDocModel;

// The three states of a time in a sign byte (pages 8-11): bit t set means
// time t (0 Attack, 1 Decay, 2 Slope, 3 Release) is changed at all, bit t + 4
// set that it is changed downwards.
enum class PrgTimeSign { Zero, Plus, Minus };

// A line of a page's graph, in pixels from the graph's top-left corner.
enum class PrgGraphPen { Axis, Curve, ReleaseTail, FadeIn }; // dotted red, blue, green, cyan
struct PrgGraphLine {
    PrgGraphPen pen;
    int x1, y1, x2, y2;
    bool operator==(const PrgGraphLine&) const = default;
};

// One program editor page without its window: a copy of the values it edits,
// read from the item's record when the page is first shown and written back
// into the same record on OK. Values of the two oscillators are kept apart;
// the page shows one at a time.
class PrgPageModel {
public:
    explicit PrgPageModel(int page);

    const PrgPageDef& Def() const { return *def_; }

    // The item
    // Reads item `index` of the document's shown list (programs or drum
    // kits); false, leaving the page empty, for index -1, a Qe document or a
    // record shorter than the model's.
    bool Read(const PcgDocModel& doc, int index);
    bool IsRead() const { return read_; }
    int Index() const { return index_; }
    // OK: every field into the record read from; false, writing nothing,
    // when the page was not read.
    bool Write(PcgDocModel& doc) const;
    const std::string& ItemName() const { return name_; } // Windows-1252
    bool EditsDrumKit() const { return drumKit_; }
    int Model() const { return model_; }

    // Values
    int ShownOsc() const { return shownOsc_; } // 0 OSC1, 1 OSC2
    void ShowOsc(int osc) { shownOsc_ = osc == 1 ? 1 : 0; }
    int Value(const PrgField& field, int osc) const;
    int Value(const PrgField& field) const { return Value(field, shownOsc_); }
    // Numbers and notes are held to their range, choices to their options.
    void SetValue(const PrgField& field, int osc, int value);
    void SetValue(const PrgField& field, int value) { SetValue(field, shownOsc_, value); }
    PrgTimeSign TimeSign(const PrgField& field, int osc, int time) const;
    void SetTimeSign(const PrgField& field, int osc, int time, PrgTimeSign sign);

    // Lists
    // Page 1's sound list: the model's multisamples for programs, its drum
    // kits for drum kits.
    std::vector<std::string> SampleNames() const;
    int SampleListIndex(int osc) const; // -1 when the sound is not listed
    // Stores the number of the chosen list entry (the list is in number
    // order, so sounds of one name keep their own numbers).
    void ChooseSample(int osc, int entry);
    static std::vector<std::string> OctaveTexts(); // values -2, -1, 0, 1
    int OctaveListIndex(int osc) const;
    void ChooseOctave(int osc, const std::string& text);
    static std::vector<std::string> PanpotTexts(); // 0-31 and "OFF"
    int PanpotListIndex(int osc) const;            // "OFF" (255) is the last entry
    void ChoosePanpot(int osc, int listIndex);
    static std::vector<std::string> PivotKeyTexts(); // notes 24-120
    static int PivotKeyOfText(const std::string& text);

    // Page 1's oscillator mode and what it enables
    struct Page1Controls {
        bool single = true, dbl = true, drum = true; // mode buttons
        bool osc1 = true, osc2 = true;               // oscillator selectors
        bool panpot = true;
    };
    const Page1Controls& Controls() const { return controls_; }
    void ChooseOscMode(int mode);

    // The graph of pages 2, 4, 5, 6 and 12 for the shown oscillator, in a
    // button of width x height pixels; empty for the other pages.
    std::vector<PrgGraphLine> Graph(int width, int height) const;

private:
    const PrgField* FieldOfKind(PrgFieldKind kind) const;
    const PrgField* FieldNamed(std::string_view label) const;
    int ValueNamed(std::string_view label) const;

    const PrgPageDef* def_;
    bool read_ = false;
    int index_ = -1;
    bool drumKit_ = false;
    int model_ = 0;
    std::string name_;
    std::vector<std::array<int, 2>> values_; // per field: OSC1, OSC2
    int shownOsc_ = 0;
    Page1Controls controls_;
};

// The sheet's OK: every page that was read writes its values into its
// item's record. True, and the document marked modified, when the record's
// bytes changed (see SheetOk.h); an OK that changed nothing leaves both.
bool WritePrgPages(PcgDocModel& doc, std::span<const PrgPageModel* const> pages);

} // namespace zib
