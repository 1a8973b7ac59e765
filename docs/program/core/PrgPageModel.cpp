#include "docs/program/core/PrgPageModel.h"

#include "docs/program/core/PcgDocModel.h"
#include "docs/program/core/PcgLayout.h"
#include "docs/style/core/SheetOk.h"
#include "midi/ProgramNames.h"
#include "midi/ValueTexts.h"

#include <algorithm>
#include <bit>

namespace zib {

namespace {

int shiftOf(unsigned mask)
{
    return std::countr_zero(mask);
}

int offsetOf(const PrgField& f, bool familyB, int osc)
{
    if (osc == 1 && f.osc2OffsetB >= 0) return familyB ? f.osc2OffsetB : f.osc2OffsetA;
    return familyB ? f.offsetB : f.offsetA;
}

int readField(const PrgField& f, const std::vector<uint8_t>& record, int at)
{
    if (f.kind == PrgFieldKind::Fixed) return 0;
    const uint8_t b = record[size_t(at)];
    switch (f.kind) {
    case PrgFieldKind::Sample:
        return b | record[size_t(at) + 1] << 8;
    case PrgFieldKind::OscMode:
        return b <= 2 ? b : 1; // any other value is shown as Double and stored as 1
    case PrgFieldKind::Octave:
        return int8_t(b);
    case PrgFieldKind::Check:
        return (b & f.mask) != 0;
    default:
        if (f.mask != 0xFF) return int((b & f.mask) >> shiftOf(f.mask));
        return f.isSigned ? int(int8_t(b)) : int(b);
    }
}

void writeField(const PrgField& f, std::vector<uint8_t>& record, int at, int value)
{
    if (f.kind == PrgFieldKind::Fixed) return; // shown, never stored: it has no byte
    uint8_t& b = record[size_t(at)];
    switch (f.kind) {
    case PrgFieldKind::Sample:
        b = uint8_t(value);
        record[size_t(at) + 1] = uint8_t(value >> 8);
        return;
    case PrgFieldKind::Check:
        b = uint8_t(value ? (b | f.mask) : (b & ~f.mask));
        return;
    default:
        // Bit fields keep the other bits of their byte.
        if (f.mask != 0xFF)
            b = uint8_t((b & ~f.mask) | ((unsigned(value) << shiftOf(f.mask)) & f.mask));
        else
            b = uint8_t(value);
    }
}

// The number of sounds page 1 lists for the model.
int soundCount(int model, bool drumKit)
{
    if (drumKit) {
        switch (model) {
        case '9':
            return 8;
        case '<':
        case 'M':
            return 16;
        case 'H':
            return 28;
        case 'I':
            return 40;
        default:
            return 0;
        }
    }
    if (model == '9' || model == '<') return 341;
    if (model == 'H') return 343;
    if (model == 'I' || model == 'M') return 523;
    return 0;
}

constexpr int kOctaveValues[4] = {-2, -1, 0, 1};

} // namespace

PrgPageModel::PrgPageModel(int page) : def_(&PrgPage(page)), values_(def_->fields.size(), {0, 0}) {}

// The item

bool PrgPageModel::Read(const PcgDocModel& doc, int index)
{
    read_ = false;
    const auto& items = doc.ShownItems();
    if (index < 0 || index >= int(items.size()) || !pcg::IsWqModel(doc.model)) return false;
    const auto& record = items[size_t(index)].data;
    if (record.size() < pcg::ProgramRecordSize(doc.model)) return false;

    index_ = index;
    model_ = doc.model;
    drumKit_ = !doc.ShowsPrograms();
    name_ = items[size_t(index)].NameText();
    const bool familyB = pcg::IsFamilyB(model_);
    for (size_t i = 0; i < def_->fields.size(); ++i) {
        const PrgField& f = def_->fields[i];
        for (int osc = 0; osc < 2; ++osc)
            values_[i][size_t(osc)] = readField(f, record, offsetOf(f, familyB, osc));
    }
    // Page 1: the mode decides which oscillators and lists are offered.
    if (const PrgField* mode = FieldOfKind(PrgFieldKind::OscMode)) {
        const int m = Value(*mode, 0);
        controls_ = Page1Controls{};
        controls_.osc2 = m != 0;
        if (drumKit_) {
            controls_.single = controls_.dbl = controls_.osc2 = false;
        } else {
            controls_.drum = false;
        }
    }
    shownOsc_ = 0;
    read_ = true;
    return true;
}

bool PrgPageModel::Write(PcgDocModel& doc) const
{
    if (!read_) return false;
    auto& items = doc.ShownItems();
    if (index_ >= int(items.size())) return false;
    auto& record = items[size_t(index_)].data;
    if (record.size() < pcg::ProgramRecordSize(model_)) return false;
    const bool familyB = pcg::IsFamilyB(model_);
    for (size_t i = 0; i < def_->fields.size(); ++i) {
        const PrgField& f = def_->fields[i];
        writeField(f, record, offsetOf(f, familyB, 0), values_[i][0]);
        if (f.osc2OffsetB >= 0) writeField(f, record, offsetOf(f, familyB, 1), values_[i][1]);
    }
    return true;
}

bool WritePrgPages(PcgDocModel& doc, std::span<const PrgPageModel* const> pages)
{
    const auto read =
        std::find_if(pages.begin(), pages.end(), [](const PrgPageModel* p) { return p->IsRead(); });
    auto& items = doc.ShownItems();
    if (read == pages.end() || (*read)->Index() >= int(items.size())) return false;
    // The pages of one sheet edit one record in place.
    const bool changed = WriteChangesBytes(items[size_t((*read)->Index())].data, [&](std::span<uint8_t>) {
        for (const PrgPageModel* page : pages)
            page->Write(doc);
    });
    if (changed) doc.modified = true;
    return changed;
}

// Values

int PrgPageModel::Value(const PrgField& field, int osc) const
{
    const size_t i = size_t(&field - def_->fields.data());
    if (i >= values_.size()) return 0;
    return values_[i][field.osc2OffsetB >= 0 && osc == 1 ? 1 : 0];
}

void PrgPageModel::SetValue(const PrgField& field, int osc, int value)
{
    const size_t i = size_t(&field - def_->fields.data());
    if (i >= values_.size() || field.kind == PrgFieldKind::Fixed) return;
    switch (field.kind) {
    case PrgFieldKind::Number:
    case PrgFieldKind::Note:
    case PrgFieldKind::Choice:
    case PrgFieldKind::OscMode:
    case PrgFieldKind::Octave:
        value = std::clamp(value, field.min, field.max);
        break;
    case PrgFieldKind::Check:
        value = value != 0;
        break;
    default:
        break;
    }
    values_[i][field.osc2OffsetB >= 0 && osc == 1 ? 1 : 0] = value;
}

PrgTimeSign PrgPageModel::TimeSign(const PrgField& field, int osc, int time) const
{
    const int b = Value(field, osc);
    if (!(b >> time & 1)) return PrgTimeSign::Zero;
    return (b >> (time + 4) & 1) ? PrgTimeSign::Minus : PrgTimeSign::Plus;
}

void PrgPageModel::SetTimeSign(const PrgField& field, int osc, int time, PrgTimeSign sign)
{
    int b = Value(field, osc);
    const int changed = 1 << time, down = 1 << (time + 4);
    switch (sign) {
    case PrgTimeSign::Zero: // the direction bit stays as stored
        b &= ~changed;
        break;
    case PrgTimeSign::Minus:
        b |= changed | down;
        break;
    case PrgTimeSign::Plus:
        b = (b | changed) & ~down;
        break;
    }
    SetValue(field, osc, b);
}

// Lists

std::vector<std::string> PrgPageModel::SampleNames() const
{
    std::vector<std::string> names;
    const int count = soundCount(model_, drumKit_);
    for (int n = 0; n < count; ++n)
        names.push_back(drumKit_ ? GetDrumKitName(model_, n) : GetProgramName(model_, n));
    return names;
}

int PrgPageModel::SampleListIndex(int osc) const
{
    const PrgField* f = FieldOfKind(PrgFieldKind::Sample);
    if (!f) return -1;
    const int number = Value(*f, osc);
    return number < soundCount(model_, drumKit_) ? number : -1;
}

void PrgPageModel::ChooseSample(int osc, int entry)
{
    // The list holds the sounds in number order: the entry is the number.
    const PrgField* f = FieldOfKind(PrgFieldKind::Sample);
    if (!f || entry < 0 || entry >= soundCount(model_, drumKit_)) return;
    SetValue(*f, osc, entry);
}

std::vector<std::string> PrgPageModel::OctaveTexts()
{
    std::vector<std::string> texts;
    for (int v : kOctaveValues)
        texts.push_back(GetOctaveFeetText(uint8_t(v)));
    return texts;
}

int PrgPageModel::OctaveListIndex(int osc) const
{
    const PrgField* f = FieldOfKind(PrgFieldKind::Octave);
    if (!f) return -1;
    const int v = Value(*f, osc);
    return v >= -2 && v <= 1 ? v + 2 : -1;
}

void PrgPageModel::ChooseOctave(int osc, const std::string& text)
{
    if (const PrgField* f = FieldOfKind(PrgFieldKind::Octave))
        SetValue(*f, osc, int8_t(uint8_t(ParseOctaveFeetText(text))));
}

std::vector<std::string> PrgPageModel::PanpotTexts()
{
    std::vector<std::string> texts;
    for (int v = 0; v <= 31; ++v)
        texts.push_back(GetPanText(v));
    texts.push_back("OFF");
    return texts;
}

int PrgPageModel::PanpotListIndex(int osc) const
{
    const PrgField* f = FieldOfKind(PrgFieldKind::Panpot);
    if (!f) return -1;
    const int v = Value(*f, osc);
    if (v == 255) return 32;
    return v <= 31 ? v : -1;
}

void PrgPageModel::ChoosePanpot(int osc, int listIndex)
{
    if (const PrgField* f = FieldOfKind(PrgFieldKind::Panpot))
        if (listIndex >= 0 && listIndex <= 32) SetValue(*f, osc, listIndex == 32 ? 255 : listIndex);
}

std::vector<std::string> PrgPageModel::PivotKeyTexts()
{
    std::vector<std::string> texts;
    for (int note = 24; note <= 120; ++note)
        texts.push_back(FormatNoteName(note, -1));
    return texts;
}

int PrgPageModel::PivotKeyOfText(const std::string& text)
{
    return ParseNoteName(text);
}

void PrgPageModel::ChooseOscMode(int mode)
{
    const PrgField* f = FieldOfKind(PrgFieldKind::OscMode);
    if (!f) return;
    SetValue(*f, 0, mode);
    switch (mode) {
    case 0: // Single: one oscillator
        controls_.osc1 = true;
        controls_.osc2 = false;
        controls_.panpot = true;
        ShowOsc(0);
        break;
    case 1: // Double
        controls_.osc1 = controls_.osc2 = true;
        controls_.panpot = true;
        break;
    default: // Drum
        controls_.osc1 = controls_.osc2 = false;
        controls_.panpot = false;
        break;
    }
}

// Graph

const PrgField* PrgPageModel::FieldOfKind(PrgFieldKind kind) const
{
    for (const PrgField& f : def_->fields)
        if (f.kind == kind) return &f;
    return nullptr;
}

const PrgField* PrgPageModel::FieldNamed(std::string_view label) const
{
    for (const PrgField& f : def_->fields)
        if (f.label == label) return &f;
    return nullptr;
}

int PrgPageModel::ValueNamed(std::string_view label) const
{
    const PrgField* f = FieldNamed(label);
    return f ? Value(*f) : 0;
}

std::vector<PrgGraphLine> PrgPageModel::Graph(int width, int height) const
{
    std::vector<PrgGraphLine> lines;
    if (!def_->hasGraph) return lines;
    const int mid = height / 2;
    lines.push_back({PrgGraphPen::Axis, 2, mid, width - 2, mid});
    lines.push_back({PrgGraphPen::Axis, 10, 2, 10, height - 2});
    const auto polyline = [&lines](PrgGraphPen pen, std::initializer_list<std::pair<int, int>> points) {
        const std::pair<int, int>* previous = nullptr;
        for (const auto& p : points) {
            if (previous) lines.push_back({pen, previous->first, previous->second, p.first, p.second});
            previous = &p;
        }
    };
    // A triangle wave from x = start to the right limit, period p.
    const auto triangle = [&lines, mid, width](int x, int p, int intensity) {
        const int right = width - 20;
        if (p <= 0) return; // a graph too narrow for one period draws no wave
        while (x < right) {
            lines.push_back({PrgGraphPen::Curve, x, mid, x + p / 4, mid - intensity});
            if (x + p / 4 >= right) return;
            if (x + 3 * p / 4 >= right) return;
            lines.push_back({PrgGraphPen::Curve, x + p / 4, mid - intensity, x + 3 * p / 4, mid + intensity});
            lines.push_back({PrgGraphPen::Curve, x + 3 * p / 4, mid + intensity, x + p, mid});
            x += p;
        }
    };

    switch (def_->page) {
    case 2: {
        const int a = ValueNamed("Attack time"), d = ValueNamed("Decay time"), r = ValueNamed("Release time");
        const int rl = ValueNamed("Release level");
        polyline(PrgGraphPen::Curve, {{10, mid - ValueNamed("Start level")},
                                      {10 + a, mid - ValueNamed("Attack level")},
                                      {10 + a + d, mid},
                                      {20 + a + d, mid},
                                      {20 + a + d + r, mid - rl}});
        lines.push_back({PrgGraphPen::ReleaseTail, 20 + a + d + r, mid - rl, 30 + a + d + r, mid - rl});
        break;
    }
    case 4:
    case 5: {
        const int a = ValueNamed("Attack time"), d = ValueNamed("Decay time"), s = ValueNamed("Slope time");
        const int r = ValueNamed("Release time"), sl = ValueNamed("Sustain level");
        polyline(PrgGraphPen::Curve, {{10, mid},
                                      {10 + a, mid - ValueNamed("Attack level")},
                                      {10 + a + d, mid - ValueNamed("Break point")},
                                      {10 + a + d + s, mid - sl},
                                      {20 + a + d + s, mid - sl},
                                      {30 + a + d + s + r, mid - ValueNamed("Release level")}});
        break;
    }
    case 6: {
        const int frequency = ValueNamed("Frequency"), delay = ValueNamed("Delay");
        if (frequency > 0) triangle(10 + delay, (width - 20 - delay) / frequency, ValueNamed("Intensity"));
        break;
    }
    case 12: {
        const int frequency = ValueNamed("Frequency"), delay = ValueNamed("Delay");
        const int fade = ValueNamed("Fade In"), intensity = ValueNamed("Intensity");
        polyline(PrgGraphPen::FadeIn,
                 {{10 + delay, mid}, {10 + delay + fade, mid - intensity}, {width - 20, mid - intensity}});
        polyline(PrgGraphPen::FadeIn,
                 {{10 + delay, mid}, {10 + delay + fade, mid + intensity}, {width - 20, mid + intensity}});
        if (frequency > 0) triangle(10 + delay + fade, (width - 20 - fade - delay) / frequency, intensity);
        break;
    }
    default:
        break;
    }
    return lines;
}

} // namespace zib
