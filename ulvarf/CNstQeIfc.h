#pragma once

#include "ulvarf/CNstStyle.h"

namespace zib::ulvarf {

// The Qe-series style model. Its hooks give new elements the Qe defaults
// (NTT, bars for new CVs, expression and bank of each track) and new
// patterns the type of their track.
class CNstQeIfc : public CNstStyle {
public:
    // Per-track pattern types of new patterns: drum, percussion, bass, five
    // accompaniment tracks.
    static constexpr std::array<uint8_t, kTracks> kTrackTypes = {0, 0, 1, 2, 2, 2, 2, 2};

    // An empty model: no elements, no name, version and release 0.
    CNstQeIfc() = default;
    // The "New Style" model: name "New Style", version 1, release 2, type
    // forcing on, the Qe per-track types and track settings, no elements.
    static std::unique_ptr<CNstQeIfc> NewStyle();

protected:
    void OnElementCreated(CNstStyleElem& element, int e) override;
    void OnChordVarCreated(CNstChordVar& cv, int index) override;
    void OnPatternCreated(CNstPattern& pattern, int t) override;
};

} // namespace zib::ulvarf
