#include "docs/program/core/PrgPageTables.h"

#include <array>

namespace zib {

namespace {

// Fields of one page: each takes the id base + 10 x its place. Family-A
// offsets are 8 lower than family B's unless given; an OSC2 offset of -1
// means once per program.
class PageBuilder {
public:
    PageBuilder(int page, int dialogId, std::string_view title, bool graph)
        : def_{page, dialogId, title, graph, {}}
    {
    }

    // A number: times and amounts 0 .. 99, levels and intensities signed.
    PageBuilder& number(std::string_view label, int b, int b2, int min, int max, unsigned mask = 0xFF)
    {
        return add({0, label, PrgFieldKind::Number, b, b2, b - 8, b2 < 0 ? -1 : b2 - 8, min, max, min < 0, mask, {}});
    }
    PageBuilder& time(std::string_view label, int b, int b2 = -1) { return number(label, b, b2, 0, 99); }
    PageBuilder& level(std::string_view label, int b, int b2 = -1) { return number(label, b, b2, -99, 99); }
    PageBuilder& note(std::string_view label, int b, int b2)
    {
        return add({0, label, PrgFieldKind::Note, b, b2, b - 8, b2 - 8, 24, 120, false, 0xFF, {}});
    }
    PageBuilder& choice(std::string_view label, int b, int b2, unsigned mask, std::vector<std::string_view> options)
    {
        const int last = int(options.size()) - 1;
        return add({0, label, PrgFieldKind::Choice, b, b2, b - 8, b2 < 0 ? -1 : b2 - 8, 0, last, false, mask,
                    std::move(options)});
    }
    PageBuilder& check(std::string_view label, int b, int b2, unsigned mask)
    {
        return add({0, label, PrgFieldKind::Check, b, b2, b - 8, b2 < 0 ? -1 : b2 - 8, 0, 1, false, mask, {}});
    }
    PageBuilder& timeSigns(int b, int b2)
    {
        return add({0, "Time signs", PrgFieldKind::TimeSigns, b, b2, b - 8, b2 - 8, 0, 255, false, 0xFF, {}});
    }
    PageBuilder& add(PrgField field)
    {
        field.id = PrgPageBaseId(def_.page) + 10 * int(def_.fields.size());
        def_.fields.push_back(std::move(field));
        return *this;
    }
    PrgPageDef take() { return std::move(def_); }

private:
    PrgPageDef def_;
};

std::vector<std::string_view> waveforms(std::string_view sawUp)
{
    return {"Triangle", sawUp, "SawDown", "Squar1", "Randm", "Squar2"};
}

std::array<PrgPageDef, kPrgPageCount> buildPages()
{
    // Page 1: its first block has offsets of its own in family A.
    PageBuilder p1(1, 161, "Program Samples", false);
    p1.add({0, "Oscilator Mode", PrgFieldKind::OscMode, 18, -1, 10, -1, 0, 2, false, 0xFF, {"Single", "Double", "Drum"}})
        .add({0, "Assign", PrgFieldKind::Choice, 19, -1, 11, -1, 0, 1, false, 0x01, {"Poly", "Mono"}})
        .add({0, "Hold", PrgFieldKind::Check, 19, -1, 11, -1, 0, 1, false, 0x02, {}})
        .add({0, "Sample", PrgFieldKind::Sample, 20, 22, 12, 15, 0, 0xFFFF, false, 0xFFFF, {}})
        .add({0, "Octave", PrgFieldKind::Octave, 24, 25, 14, 17, -2, 1, true, 0xFF, {}})
        .add({0, "OSC2 Interval", PrgFieldKind::Number, 26, -1, 18, -1, -12, 12, true, 0xFF, {}})
        .add({0, "OSC2 Detune", PrgFieldKind::Number, 27, -1, 19, -1, -50, 50, true, 0xFF, {}})
        .add({0, "OSC2 Delay", PrgFieldKind::Number, 28, -1, 20, -1, 0, 99, false, 0xFF, {}})
        .level("Pitch EG Intensity", 48, 95)
        .time("Level", 73, 120)
        .number("CSend", 90, 137, 0, 9, 0xF0)
        .number("DSend", 90, 137, 0, 9, 0x0F)
        .add({0, "Panpot", PrgFieldKind::Panpot, 94, 141, 86, 133, 0, 255, false, 0xFF, {}});

    PageBuilder p2(2, 165, "Pitch EG", true);
    p2.level("Start level", 29)
        .time("Attack time", 30)
        .level("Attack level", 31)
        .time("Decay time", 32)
        .time("Release time", 33)
        .level("Release level", 34)
        .level("Time Velocity", 35)
        .level("Velocity sense", 36);

    PageBuilder p3(3, 166, "VDF", false);
    p3.time("VDF Cutoff Frequency", 58, 105).time("VDF EG Intensity", 61, 108).time("Color", 91, 138);

    PageBuilder p4(4, 167, "VDF EG", true);
    p4.time("Attack time", 65, 112)
        .level("Attack level", 66, 113)
        .time("Decay time", 67, 114)
        .level("Break point", 68, 115)
        .time("Slope time", 69, 116)
        .level("Sustain level", 70, 117)
        .time("Release time", 71, 118)
        .level("Release level", 72, 119);

    PageBuilder p5(5, 168, "VDA EG", true);
    p5.time("Attack time", 79, 126)
        .level("Attack level", 80, 127)
        .time("Decay time", 81, 128)
        .level("Break point", 82, 129)
        .time("Slope time", 83, 130)
        .level("Sustain level", 84, 131)
        .time("Release time", 85, 132)
        .add({0, "Release level", PrgFieldKind::Fixed, -1, -1, -1, -1, -99, 99, true, 0xFF, {}});

    PageBuilder p6(6, 169, "VDF MG", true);
    p6.choice("Waveform", 37, -1, 0x1F, waveforms("Sawup"))
        .check("OSC1 MG", 37, -1, 0x20)
        .check("OSC2 MG", 37, -1, 0x40)
        .check("Key Sync", 37, -1, 0x80)
        .time("Frequency", 38)
        .time("Delay", 39)
        .time("Intensity", 40);

    PageBuilder p7(7, 170, "VDF MG controllers / VDA level / Controllers", false);
    p7.time("VDF MG Controllers: Joystick down", 47)
        .time("VDF MG Controllers: Aftertouch", 43)
        .level("VDA level: Aftertouch", 44)
        .number("Pitch band: Joystick L/R", 45, -1, -12, 12)
        .number("Pitch band: Aftertouch", 41, -1, -12, 12)
        .level("Cutoff: Joystick L/R", 46)
        .level("Cutoff: Aftertouch", 42);

    PageBuilder p8(8, 171, "VDF Velocity Sensitivity", false);
    p8.level("EG Intensity", 64, 111).level("Color", 92, 139).time("Time Amount", 63, 110).timeSigns(87, 134);

    PageBuilder p9(9, 172, "VDA Velocity Sensitivity", false);
    p9.level("Amount", 76, 123).time("Time Amount", 78, 125).timeSigns(89, 136);

    const std::vector<std::string_view> modes = {"OFF", "LOW", "HIGH", "ALL"};
    PageBuilder p10(10, 162, "VDF Keyboard Tracking", false);
    p10.level("Keyboard Amount", 60, 107)
        .note("Pivot Key", 59, 106)
        .time("Time Amount", 62, 109)
        .choice("Mode", 93, 140, 0x03, modes)
        .timeSigns(86, 133);

    PageBuilder p11(11, 163, "VDA Keyboard Tracking", false);
    p11.level("Keyboard Amount", 75, 122)
        .note("Pivot Key", 74, 121)
        .time("Time Amount", 77, 124)
        .choice("Mode", 93, 140, 0x30, modes)
        .timeSigns(88, 135);

    PageBuilder p12(12, 164, "Vibrato & Vibrato Controllers", true);
    p12.choice("Waveform", 49, 96, 0x07, waveforms("SawUp"))
        .check("Key Sync", 49, 96, 0x80)
        .time("Frequency", 50, 97)
        .time("Delay", 51, 98)
        .time("Fade In", 52, 99)
        .time("Intensity", 53, 100)
        .level("KbdTracking", 54, 101)
        .time("Vibrato Controllers: Aftertouch", 55, 102)
        .time("Vibrato Controllers: Joystick", 56, 103)
        .time("Vibrato Controllers: Js+Aftt Freq", 57, 104);

    return {p1.take(), p2.take(), p3.take(), p4.take(),  p5.take(),  p6.take(),
            p7.take(), p8.take(), p9.take(), p10.take(), p11.take(), p12.take()};
}

} // namespace

bool PrgPageDef::HasOscillators() const
{
    for (const PrgField& f : fields)
        if (f.osc2OffsetB >= 0) return true;
    return false;
}

const PrgField* PrgPageDef::Field(int id) const
{
    for (const PrgField& f : fields)
        if (f.id == id) return &f;
    return nullptr;
}

int PrgPageBaseId(int page)
{
    return 1000 + 200 * (page - 1);
}

const PrgPageDef& PrgPage(int page)
{
    static const std::array<PrgPageDef, kPrgPageCount> pages = buildPages();
    return pages[size_t(page < 1 || page > kPrgPageCount ? 0 : page - 1)];
}

} // namespace zib
