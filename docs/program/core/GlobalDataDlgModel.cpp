#include "docs/program/core/GlobalDataDlgModel.h"

#include "docs/program/core/Wq41FunctionTable.h"
#include "midi/ValueTexts.h"

#include <algorithm>
#include <cstdio>

namespace zib {

namespace {

using K = DialogControl::Kind;

int find(const std::vector<std::string>& options, const std::string& text)
{
    const auto it = std::find(options.begin(), options.end(), text);
    return it == options.end() ? -1 : int(it - options.begin());
}

// The octave lists' entries and their 4-bit values.
const std::vector<std::string> kOctaves = {"-2", "-1", "0", "1", "2"};

int octaveIndex(int nibble)
{
    return find(kOctaves, GetOctaveShiftText(nibble));
}

void setBits(uint8_t& byte, uint8_t mask, uint8_t bits)
{
    byte = uint8_t((byte & ~mask) | (bits & mask));
}

} // namespace

void GlobalDataDlgModel::Add(DialogControl control, int value, bool enabled)
{
    control.value = control.initial = value;
    control.enabled = enabled;
    controls.push_back(std::move(control));
}

DialogControl* GlobalDataDlgModel::Control(int id)
{
    for (auto& c : controls)
        if (c.id == id) return &c;
    return nullptr;
}

const DialogControl* GlobalDataDlgModel::Control(int id) const
{
    return const_cast<GlobalDataDlgModel*>(this)->Control(id);
}

GlobalDataDlgModel::GlobalDataDlgModel(const GblDocModel& doc) : model_(doc.model), image_(doc.image)
{
    const bool m = model_ == 'M';
    const auto& b = image_;
    controls.reserve(48);

    // Pedals and switches, and the user scales.
    if (m) {
        for (size_t p = 0; p < 5; ++p)
            pedals.push_back({std::string("Pedal ") + char('A' + p), 256 + p, b[256 + p]});
    } else {
        for (size_t p = 0; p < 5; ++p)
            pedals.push_back({std::string("Pedal ") + char('A' + p), 42 + p, b[42 + p]});
        pedals.push_back({"Switch 1", 47, b[47]});
        pedals.push_back({"Switch 2", 48, b[48]});
    }
    DialogControl pedalList = MakeControl(kPedalList, "EC5 Pedal / SW", K::ListBox);
    for (size_t i = 0; i < pedals.size(); ++i)
        pedalList.options.push_back(PedalLine(int(i)));
    Add(std::move(pedalList), -1);
    DialogControl scaleList = MakeControl(kScaleList, "User Scale", K::ListBox);
    for (int k = 1; k <= (m ? 14 : 32); ++k) {
        char line[32];
        std::snprintf(line, sizeof line, "Userscale %02d", k);
        scaleList.options.push_back(line);
    }
    Add(std::move(scaleList), -1);

    // Master tune, damper, the status byte and the MIDI filter byte.
    const std::vector<std::string> tunes = NumberOptions(-50, 50);
    Add(MakeControl(kMasterTune, "Master Tune", K::List, tunes), find(tunes, std::to_string(int(int8_t(b[32])))));
    Add(MakeControl(kDamper, "Damper Polarity", K::Radio, {"Reverse", "Dask"}), (m ? b[34] & 1 : b[34]) ? 1 : 0);
    Add(MakeControl(kMidiClock, "Midi Clock", K::Radio, {"Midi IN", "To Host"}), (b[40] >> 6) & 1);
    Add(MakeControl(kBaud, "Host Baud Rate", K::Radio, {"38.4k", "31.2k"}), (b[40] >> 5) & 1);
    DialogControl transpose = MakeControl(kTranspose, "Transpose", K::Radio, {"Post-KBD", "Pre-OSC", "Pre-OSC MIDI"});
    transpose.optionEnabled = {true, true, !m};
    const int t = (b[40] >> 2) & 3;
    Add(std::move(transpose), t == 3 || (m && t == 2) ? -1 : t);
    Add(MakeControl(kClock, "Clock", K::Radio, {"INT", "EXT"}), (b[40] >> 1) & 1);
    Add(MakeControl(kLocal, "Local Control", K::Check), b[40] & 1);
    static constexpr struct {
        int id;
        const char* label;
        int bit;
    } kFilters[] = {{kDiscardGm, "Discard DASK GM", 7}, {kExclusive, "Exclusive", 4},
                    {kControlChange, "Control Change", 3}, {kAftertouch, "Aftertouch ", 2},
                    {kProgBank, "ProgBank Change", 1},    {kProgramChange, "Program Change", 0}};
    for (const auto& f : kFilters)
        Add(MakeControl(f.id, f.label, K::Check), (b[41] >> f.bit) & 1);

    // Channel, assignable pedals, scales, curves.
    std::vector<std::string> channels;
    for (int c = 0; c < 16; ++c)
        channels.push_back(GetMidiChannelText(c));
    Add(MakeControl(kChannel, "Global MIDI Ch.", K::List, channels), b[38] < 16 ? int(b[38]) : -1);
    if (m) {
        // The WqR65's pedal is chosen by the name of its function.
        for (int c = 0; c < 256; ++c)
            if (GetPedalFunctionText(c) != "???") {
                pedalNames_.push_back(GetPedalFunctionText(c));
                pedalCodes_.push_back(c);
            }
        Add(MakeControl(kPedal1, "Assignable Pedal P1", K::List, pedalNames_),
            find(pedalNames_, GetPedalFunctionText(b[35])));
        Add(MakeControl(kPedal2, "Assignable Pedal P2", K::List), -1, false);
    } else {
        // The Wq41 table has 65 functions; a code past them selects nothing and stays.
        const auto& names = builtInWq41Functions().Names();
        Add(MakeControl(kPedal1, "Assignable Pedal P1", K::List, names), OptionIndex(b[35], 0, int(names.size())));
        Add(MakeControl(kPedal2, "Assignable Pedal P2", K::List, names), OptionIndex(b[36], 0, int(names.size())));
    }
    std::vector<std::string> scaleTypes;
    for (int s = 0; s < (m ? 14 : 42); ++s)
        scaleTypes.push_back(GetScaleName(s));
    std::vector<std::string> keys;
    for (int k = 0; k < 12; ++k)
        keys.push_back(GetKeyNameText(k));
    Add(MakeControl(kNormalType, "Normal Type", K::List, scaleTypes), OptionIndex(b[62], 0, int(scaleTypes.size())));
    Add(MakeControl(kNormalKey, "Normal Key", K::List, keys), OptionIndex(b[63], 0, 12));
    Add(MakeControl(kSpecialType, "Special Type", K::List, scaleTypes), OptionIndex(b[60], 0, int(scaleTypes.size())));
    Add(MakeControl(kSpecialKey, "Special Key", K::List, keys), OptionIndex(b[61], 0, 12));
    Add(MakeControl(kVelocityCurve, "Velocity Curve", K::List, NumberOptions(1, 9)), OptionIndex(b[49], 0, 9));
    Add(MakeControl(kAftertouchCurve, "Aftertouch Curve", K::List, NumberOptions(1, 8)), OptionIndex(b[50], 0, 8));

    // Wq41 only: ritardando and accelerando.
    Add(MakeControl(kRitType, "Ritardando Type", K::List, NumberOptions(1, 7)), m ? -1 : OptionIndex(b[51], 0, 7), !m);
    Add(MakeControl(kRitBeat, "Ritardando Beat", K::List, NumberOptions(1, 32)), m ? -1 : OptionIndex(b[52], 0, 32), !m);
    Add(MakeControl(kAccType, "Accelerando Type", K::List, NumberOptions(1, 7)), m ? -1 : OptionIndex(b[53], 0, 7), !m);
    Add(MakeControl(kAccBeat, "Accelerando Beat", K::List, NumberOptions(1, 32)), m ? -1 : OptionIndex(b[54], 0, 32), !m);

    // WqR65 only: MIDI in velocity and octaves, joystick switches, echo back.
    std::vector<std::string> velocities = {"Normal"};
    for (int v = 1; v <= 127; ++v)
        velocities.push_back(std::to_string(v));
    Add(MakeControl(kMidiInVelocity, "Midi In Velocity", K::List, velocities), m ? OptionIndex(b[244], 0, 128) : -1, m);
    Add(MakeControl(kOctaveLow, "LOW:", K::List, kOctaves), m ? octaveIndex(b[245] & 15) : -1, m);
    Add(MakeControl(kOctaveUp, "UP1/UP2:", K::List, kOctaves), m ? octaveIndex(b[245] >> 4) : -1, m);
    Add(MakeControl(kJoyLow, "LOW", K::Check), m ? !(b[34] & 0x08) : 0, m);
    Add(MakeControl(kJoyUp1, "UP1", K::Check), m ? !(b[34] & 0x10) : 0, m);
    Add(MakeControl(kJoyUp2, "UP2", K::Check), m ? !(b[34] & 0x20) : 0, m);
    const int echo = b[34] >> 6;
    Add(MakeControl(kEchoBack, "Echo Back", K::Radio, {"OFF", "MIDI", "HOST"}), m && echo < 3 ? echo : -1, m);
}

std::string GlobalDataDlgModel::PedalLine(int line) const
{
    const Pedal& p = pedals[size_t(line)];
    const std::string function =
        model_ == 'I' ? builtInWq41Functions().Name(p.code) : GetFootswitchFunctionText(p.code);
    char text[64];
    std::snprintf(text, sizeof text, "%-8s : %s", p.name.c_str(), function.c_str());
    return text;
}

PedalSwDlgModel GlobalDataDlgModel::PedalSwDialog(int line) const
{
    return PedalSwDlgModel(model_, pedals[size_t(line)].name, pedals[size_t(line)].code);
}

void GlobalDataDlgModel::SetPedalCode(int line, int code)
{
    if (line < 0 || line >= int(pedals.size())) return;
    pedals[size_t(line)].code = code;
    DialogControl* list = Control(kPedalList);
    list->options[size_t(line)] = PedalLine(line);
    list->value = line;
}

ScaleDlgModel GlobalDataDlgModel::ScaleDialog(int scale) const
{
    std::array<uint8_t, 12> bytes{};
    std::copy_n(image_.begin() + 64 + 12 * scale, 12, bytes.begin());
    return ScaleDlgModel(scale, bytes);
}

void GlobalDataDlgModel::SetScale(int scale, const std::array<uint8_t, 12>& bytes)
{
    if (scale < 0 || scale >= (model_ == 'M' ? 14 : 32)) return;
    std::copy(bytes.begin(), bytes.end(), image_.begin() + 64 + 12 * scale);
}

std::vector<uint8_t> GlobalDataDlgModel::Ok() const
{
    std::vector<uint8_t> b = image_;
    const bool m = model_ == 'M';
    for (const Pedal& p : pedals)
        b[p.byte] = uint8_t(p.code);
    for (const DialogControl& c : controls) {
        if (!c.enabled || c.value < 0 || !c.Changed()) continue;
        const int v = c.value;
        switch (c.id) {
        case kMasterTune: b[32] = uint8_t(int8_t(v - 50)); break;
        case kDamper:
            if (m)
                setBits(b[34], 1, uint8_t(v));
            else
                b[34] = uint8_t(v);
            break;
        case kMidiClock: setBits(b[40], 0x40, uint8_t(v << 6)); break;
        case kBaud: setBits(b[40], 0x20, uint8_t(v << 5)); break;
        case kTranspose: setBits(b[40], 0x0C, uint8_t(v << 2)); break;
        case kClock: setBits(b[40], 0x02, uint8_t(v << 1)); break;
        case kLocal: setBits(b[40], 0x01, uint8_t(v)); break;
        case kDiscardGm: setBits(b[41], 0x80, uint8_t(v << 7)); break;
        case kExclusive: setBits(b[41], 0x10, uint8_t(v << 4)); break;
        case kControlChange: setBits(b[41], 0x08, uint8_t(v << 3)); break;
        case kAftertouch: setBits(b[41], 0x04, uint8_t(v << 2)); break;
        case kProgBank: setBits(b[41], 0x02, uint8_t(v << 1)); break;
        case kProgramChange: setBits(b[41], 0x01, uint8_t(v)); break;
        case kChannel: b[38] = uint8_t(v); break;
        case kPedal1: b[35] = uint8_t(m ? pedalCodes_[size_t(v)] : v); break;
        case kPedal2: b[36] = uint8_t(v); break;
        case kNormalType: b[62] = uint8_t(v); break;
        case kNormalKey: b[63] = uint8_t(v); break;
        case kSpecialType: b[60] = uint8_t(v); break;
        case kSpecialKey: b[61] = uint8_t(v); break;
        case kVelocityCurve: b[49] = uint8_t(v); break;
        case kAftertouchCurve: b[50] = uint8_t(v); break;
        case kRitType: b[51] = uint8_t(v); break;
        case kRitBeat: b[52] = uint8_t(v); break;
        case kAccType: b[53] = uint8_t(v); break;
        case kAccBeat: b[54] = uint8_t(v); break;
        case kMidiInVelocity: b[244] = uint8_t(v); break;
        case kOctaveLow: setBits(b[245], 0x0F, uint8_t(ParseOctaveShiftText(kOctaves[size_t(v)]))); break;
        case kOctaveUp: setBits(b[245], 0xF0, uint8_t(ParseOctaveShiftText(kOctaves[size_t(v)]) << 4)); break;
        // The joystick switches are on when their bit is clear.
        case kJoyLow: setBits(b[34], 0x08, v ? 0 : 0x08); break;
        case kJoyUp1: setBits(b[34], 0x10, v ? 0 : 0x10); break;
        case kJoyUp2: setBits(b[34], 0x20, v ? 0 : 0x20); break;
        case kEchoBack: setBits(b[34], 0xC0, uint8_t(v << 6)); break;
        default: break;
        }
    }
    return b;
}

} // namespace zib
