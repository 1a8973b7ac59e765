#include "docs/style/core/QeStyleFlagsDlgModel.h"

#include "docs/style/core/QeStyleEditor.h"

namespace zib {

QeStyleFlagsDlgModel::QeStyleFlagsDlgModel(QeStyleEditor& editor, std::string styleName)
    : editor_(editor), name_(std::move(styleName))
{
    for (int t = 0; t < kTracks; ++t) {
        modes_[size_t(t)] = editor.TrackMode(t);
        tensions_[size_t(t)] = editor.TrackTension(t);
    }
}

int QeStyleFlagsDlgModel::RowAtStart(int track) const
{
    const uint8_t mode = modes_[size_t(track)];
    return mode == 1 ? kReTrig : mode == 2 ? kRePitch : kSilent;
}

int QeStyleFlagsDlgModel::Ok(const std::array<int, kTracks>& rows, const std::array<bool, kTracks>& tension)
{
    // A group is written when one of its rows or boxes is not as at start;
    // then a mode no row stands for is written as 0 (Silent), a tension
    // other than 1 as 0.
    bool rowsChanged = false, tensionsChanged = false;
    std::array<uint8_t, kTracks> modes{};
    std::array<uint8_t, kTracks> tensions{};
    for (int t = 0; t < kTracks; ++t) {
        const size_t i = size_t(t);
        const int row = rows[i];
        rowsChanged |= row != RowAtStart(t);
        tensionsChanged |= tension[i] != TensionAtStart(t);
        modes[i] = row == kReTrig ? 1 : row == kRePitch ? 2 : 0;
        tensions[i] = tension[i] ? 1 : 0;
    }
    if (rowsChanged) {
        for (int t = 0; t < kTracks; ++t)
            editor_.SetTrackMode(t, modes[size_t(t)]);
        modes_ = modes;
        changed = 1;
    }
    if (tensionsChanged) {
        for (int t = 0; t < kTracks; ++t)
            editor_.SetTrackTension(t, tensions[size_t(t)]);
        tensions_ = tensions;
        changed = 1;
    }
    return changed;
}

} // namespace zib
