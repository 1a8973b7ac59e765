#include "docs/program/core/MidiChannelDlgModel.h"

#include "midi/ValueTexts.h"

#include <algorithm>

namespace zib {

MidiChannelDlgModel::MidiChannelDlgModel(std::string partLabel, uint32_t datum)
    : label(std::move(partLabel)), datum_(datum)
{
    for (int c = 0; c < 16; ++c)
        options.push_back(GetMidiChannelText(c));
    if (!(datum & 1)) options.push_back("OFF");
    // The list sorts its entries as text, whatever order they came in.
    std::sort(options.begin(), options.end());
    const std::string current = GetMidiChannelText(int8_t((datum >> 16) & 0xFF));
    const auto it = std::find(options.begin(), options.end(), current);
    selection = it == options.end() ? -1 : int(it - options.begin());
}

uint32_t MidiChannelDlgModel::Ok() const
{
    if (selection < 0 || selection >= int(options.size())) return datum_;
    const int channel = ParseMidiChannelText(options[size_t(selection)].substr(0, 4));
    return (datum_ & 0xFF00FFFFu) | uint32_t(uint8_t(channel)) << 16;
}

} // namespace zib
