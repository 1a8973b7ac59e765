#include "docs/style/core/QeChordTableDlgModel.h"

#include "docs/style/core/QeStyleEditor.h"
#include "midi/ValueTexts.h"

#include <algorithm>

namespace zib {

QeChordTableDlgModel::QeChordTableDlgModel(QeStyleEditor& editor, int element) : editor_(editor), element_(element)
{
    for (int c = 0; c < QeStyleEditor::CvCountOf(element); ++c)
        if (editor.QueryChordVar(element, c) != 0) offered_.push_back(c);
    for (int i = 0; i < kChordTypes; ++i)
        initial_[size_t(i)] = editor.ChordAssign(element, i);
}

std::string QeChordTableDlgModel::ElementName() const
{
    return GetQeElementName(element_);
}

std::string QeChordTableDlgModel::ChordLabel(int chordType)
{
    return GetQeChordName(chordType) + ":";
}

std::vector<std::string> QeChordTableDlgModel::OfferedNames() const
{
    std::vector<std::string> names;
    for (int c : offered_)
        names.push_back(GetQeChordVariationName(c));
    return names;
}

int QeChordTableDlgModel::SelectionAtStart(int chordType) const
{
    if (chordType < 0 || chordType >= kChordTypes) return -1;
    const auto it = std::find(offered_.begin(), offered_.end(), int(initial_[size_t(chordType)]));
    return it == offered_.end() ? -1 : int(it - offered_.begin());
}

int QeChordTableDlgModel::Ok(const std::array<int, kChordTypes>& selections)
{
    const int highest = element_ < 4 ? 5 : 1;
    std::array<uint8_t, kChordTypes> chosen{};
    bool listChanged = false;
    for (int i = 0; i < kChordTypes; ++i) {
        const int s = selections[size_t(i)];
        listChanged |= s != SelectionAtStart(i);
        int cv = s >= 0 && size_t(s) < offered_.size() ? offered_[size_t(s)] : 0;
        if (cv > highest) cv = 0;
        chosen[size_t(i)] = uint8_t(cv);
    }
    // Lists as they were at start write nothing, not even for a CV they
    // could not show (which a list without selection would make CV1).
    if (!listChanged || chosen == initial_) return changed;
    for (int i = 0; i < kChordTypes; ++i)
        editor_.SetChordAssign(element_, i, chosen[size_t(i)]);
    changed = 1;
    return changed;
}

} // namespace zib
