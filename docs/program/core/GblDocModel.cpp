#include "docs/program/core/GblDocModel.h"

#include "midi/ValueTexts.h"

#include <span>

namespace zib {

namespace {

constexpr const char* kHeading = "----------";

std::string heading(const char* name)
{
    return std::string(6, ' ') + name;
}

} // namespace

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
    const auto add = [this](std::string name, std::string value) { texts.push_back({std::move(name), std::move(value)}); };
    const auto scale = [&b](int k) { return FormatScaleOffsetsText(std::span<const uint8_t, 12>(b.data() + 64 + 12 * k, 12)); };

    add("Master Tune", std::to_string(int(int8_t(b[32]))));
    add("Damper Polarity", GetPolarityText(m ? b[34] & 1 : b[34]));
    if (m) {
        add("Joystick X Low", b[34] & 0x08 ? "DIS" : "PRG");
        add("Joystick X Up2", b[34] & 0x20 ? "DIS" : "PRG");
        add("Joystick X Up1", b[34] & 0x10 ? "DIS" : "PRG");
        add("Echo Back", GetMidiHostText(b[34] >> 6));
        add("Assignable Pedal", GetPedalFunctionText(b[35]));
    } else {
        add("Assignable Pedal 1", GetPedalFunctionText(b[35]));
        add("Assignable Pedal 2", GetPedalFunctionText(b[36]));
    }
    add("Global MIDI Channel", GetMidiChannelText(int8_t(b[38])));
    add("Main Scale Type", GetScaleName(b[62]));
    add("Main Scale Key", GetKeyNameText(b[63]));
    add("Sub Scale Type", GetScaleName(b[60]));
    add("Sub Scale Key", GetKeyNameText(b[61]));
    add("Velocity Curve", std::to_string(b[49] + 1));
    add("Aftertouch Curve", std::to_string(b[50] + 1));
    if (!m) {
        add("Ritardando Type", GetOneToSevenText(b[51]));
        add("Ritardando Beat", GetOneToThirtyTwoText(b[52]));
        add("Accelerando Type", GetOneToSevenText(b[53]));
        add("Accelerando Beat", GetOneToThirtyTwoText(b[54]));
        add("Switch 1", GetFootswitchFunctionText(b[47]));
        add("Switch 2", GetFootswitchFunctionText(b[48]));
    }
    add(heading("PEDALS"), kHeading);
    const size_t pedals = m ? 256 : 42;
    for (size_t p = 0; p < 5; ++p)
        add(std::string("EC5 Pedal ") + char('A' + p), GetFootswitchFunctionText(b[pedals + p]));
    add(heading("USER SCALES"), kHeading);
    for (int k = 0; k < (m ? 14 : 32); ++k)
        add("User Scale " + std::to_string(k + 1), scale(k));
    if (m) add("Velocity Input", GetVelocityValueText(b[244]));
    add(heading("STATUS BYTE"), kHeading);
    add("Local Control", GetOnOffFlagText(b[40] & 1));
    add("Clock Source", GetInternalExternalText((b[40] >> 1) & 1));
    add("Transpose Position", GetPostKbdPreOscText((b[40] >> 2) & 3));
    add("Host Buad Rate", GetBaudRateText((b[40] >> 5) & 1));
    add("Midi Clock", GetMidiInToHostText((b[40] >> 6) & 1));
    add(heading("MIDI FILTER BYTE"), kHeading);
    static constexpr const char* kFilters[] = {"Program Change", "Bank Change", "Aftertouch", "Ctrl Change", "Exclusive"};
    for (int bit = 0; bit < 5; ++bit)
        add(kFilters[bit], GetEnabledText((b[41] >> bit) & 1));
    add("Discard Dask GM", GetOnOffFlagText(b[41] & 0x80));
}

} // namespace zib
