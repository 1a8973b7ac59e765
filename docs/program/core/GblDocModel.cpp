#include "docs/program/core/GblDocModel.h"

#include "midi/ValueTexts.h"

#include <span>

namespace zib {

bool GblDocModel::Parse()
{
    if (model != 'M' && model != 'I') {
        Notify(DocMessage::Numbered(17, "ParseGbl"));
        return false;
    }
    if (image.size() != kImageSize) {
        Notify(DocMessage::Numbered(14, "ParseGbl"));
        return false;
    }
    MakeRows(model == 'M' ? 49 : 69);
    return true;
}

void GblDocModel::FillTexts()
{
    texts.clear();
    if (image.size() != kImageSize) return;
    const auto& b = image;
    const bool m = model == 'M';
    const auto scale = [&b](int k) { return FormatScaleOffsetsText(std::span<const uint8_t, 12>(b.data() + 64 + 12 * k, 12)); };

    AddText("Master Tune", std::to_string(int(int8_t(b[32]))));
    AddText("Damper Polarity", GetPolarityText(m ? b[34] & 1 : b[34]));
    if (m) {
        AddText("Joystick X Low", b[34] & 0x08 ? "DIS" : "PRG");
        AddText("Joystick X Up2", b[34] & 0x20 ? "DIS" : "PRG");
        AddText("Joystick X Up1", b[34] & 0x10 ? "DIS" : "PRG");
        AddText("Echo Back", GetMidiHostText(b[34] >> 6));
        AddText("Assignable Pedal", GetPedalFunctionText(b[35]));
    } else {
        AddText("Assignable Pedal 1", GetPedalFunctionText(b[35]));
        AddText("Assignable Pedal 2", GetPedalFunctionText(b[36]));
    }
    AddText("Global MIDI Channel", GetMidiChannelText(int8_t(b[38])));
    AddText("Main Scale Type", GetScaleName(b[62]));
    AddText("Main Scale Key", GetKeyNameText(b[63]));
    AddText("Sub Scale Type", GetScaleName(b[60]));
    AddText("Sub Scale Key", GetKeyNameText(b[61]));
    AddText("Velocity Curve", std::to_string(b[49] + 1));
    AddText("Aftertouch Curve", std::to_string(b[50] + 1));
    if (!m) {
        AddText("Ritardando Type", GetOneToSevenText(b[51]));
        AddText("Ritardando Beat", GetOneToThirtyTwoText(b[52]));
        AddText("Accelerando Type", GetOneToSevenText(b[53]));
        AddText("Accelerando Beat", GetOneToThirtyTwoText(b[54]));
        AddText("Switch 1", GetFootswitchFunctionText(b[47]));
        AddText("Switch 2", GetFootswitchFunctionText(b[48]));
    }
    AddHeading("PEDALS");
    const size_t pedals = m ? 256 : 42;
    for (size_t p = 0; p < 5; ++p)
        AddText(std::string("EC5 Pedal ") + char('A' + p), GetFootswitchFunctionText(b[pedals + p]));
    AddHeading("USER SCALES");
    for (int k = 0; k < (m ? 14 : 32); ++k)
        AddText("User Scale " + std::to_string(k + 1), scale(k));
    if (m) AddText("Velocity Input", GetVelocityValueText(b[244]));
    AddHeading("STATUS BYTE");
    AddText("Local Control", GetOnOffFlagText(b[40] & 1));
    AddText("Clock Source", GetInternalExternalText((b[40] >> 1) & 1));
    AddText("Transpose Position", GetPostKbdPreOscText((b[40] >> 2) & 3));
    AddText("Host Buad Rate", GetBaudRateText((b[40] >> 5) & 1));
    AddText("Midi Clock", GetMidiInToHostText((b[40] >> 6) & 1));
    AddHeading("MIDI FILTER BYTE");
    static constexpr const char* kFilters[] = {"Program Change", "Bank Change", "Aftertouch", "Ctrl Change", "Exclusive"};
    for (int bit = 0; bit < 5; ++bit)
        AddText(kFilters[bit], GetEnabledText((b[41] >> bit) & 1));
    AddText("Discard Dask GM", GetOnOffFlagText(b[41] & 0x80));
}

} // namespace zib
