#include "docs/style/core/QeKeyChordDlgModel.h"

#include "docs/style/core/QeStyleEditor.h"
#include "midi/ValueTexts.h"

namespace zib {

QeKeyChordDlgModel::QeKeyChordDlgModel(QeStyleEditor& editor, int element, int cv, int track)
    : editor_(editor), element_(element), cv_(cv), track_(track)
{
    chord = editor.TrackChord(element, cv, track);
    key = editor.TrackKey(element, cv, track);
}

std::vector<std::string> QeKeyChordDlgModel::TitleParts() const
{
    return {GetQeElementName(element_), GetQeChordVariationName(cv_), GetQeTrackName(track_)};
}

std::vector<std::string> QeKeyChordDlgModel::Entries()
{
    std::vector<std::string> entries;
    entries.reserve(kEntries);
    for (int k = 0; k < 12; ++k)
        for (int c = 0; c < 22; ++c)
            entries.push_back(GetQeKeyName(k) + GetQeChordName(c));
    return entries;
}

int QeKeyChordDlgModel::SelectionAtStart() const
{
    if (key > 11 || chord > 21) return -1;
    return key * 22 + chord;
}

int QeKeyChordDlgModel::Ok(int position)
{
    if (position < 0) return changed;
    if (position >= kEntries) position = 0;
    const uint8_t newKey = uint8_t(position / 22);
    const uint8_t newChord = uint8_t(position % 22);
    if (newKey == key && newChord == chord) return changed;
    editor_.SetTrackChord(element_, cv_, track_, newChord);
    editor_.SetTrackKey(element_, cv_, track_, newKey);
    chord = newChord;
    key = newKey;
    changed = 1;
    return changed;
}

} // namespace zib
