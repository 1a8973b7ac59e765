#include "ui/core/FileDialogModels.h"

namespace zib {

int MidiToStyFormatModel::PreselectedEntry() const
{
    for (size_t i = 0; i < kFormats.size(); ++i)
        if (uint32_t(static_cast<unsigned char>(kFormats[i][4])) == modelLetter_) return int(i);
    return -1;
}

void MidiToStyFormatModel::Finish(std::string_view comboText)
{
    if (comboText.size() < 5) return;
    const char letter = comboText[4];
    for (auto line : kFormats)
        if (line[4] == letter) {
            modelLetter_ = uint32_t(static_cast<unsigned char>(letter));
            return;
        }
}

} // namespace zib
