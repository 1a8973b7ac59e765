#include "ulvarf/CNstQeIfc.h"

namespace zib::ulvarf {

namespace {

// Defaults of new Qe elements, by element: VAR1-VAR4, INT1, INT2, FILL1,
// FILL2, END1, END2, FILL3, INT3.
constexpr std::array<uint8_t, CNstStyle::kElements> kElementNtt = {1, 1, 1, 1, 3, 1, 1, 1, 3, 1, 1, 1};
constexpr std::array<uint8_t, CNstStyle::kElements> kElementNewCvBars = {2, 2, 2, 2, 2, 2, 1, 1, 2, 2, 2, 2};

// Defaults of the track records of new Qe elements, by style track.
constexpr std::array<uint8_t, CNstStyle::kTracks> kTrackExpression = {120, 120, 121, 121, 121, 121, 121, 121};
constexpr std::array<uint8_t, CNstStyle::kTracks> kTrackBankLsb = {0, 64, 32, 0, 0, 0, 0, 0};

// "New Style" track settings, by style track.
constexpr std::array<uint8_t, CNstStyle::kTracks> kNewStyleMode = {0, 0, 2, 2, 2, 2, 2, 2};
constexpr std::array<uint8_t, CNstStyle::kTracks> kNewStyleTension = {0, 0, 0, 1, 1, 1, 1, 1};
constexpr std::array<uint8_t, CNstStyle::kTracks> kNewStyleThirdFlag = {1, 0, 0, 0, 0, 0, 0, 0};
constexpr uint8_t kNewStyleTrackByte = 8;

} // namespace

std::unique_ptr<CNstQeIfc> CNstQeIfc::NewStyle()
{
    auto style = std::make_unique<CNstQeIfc>();
    style->SetName("New Style");
    style->styleByteA = 0;
    style->styleByteB = 0;
    style->version = 1;
    style->release = 2;
    style->typeForcing = true;
    style->trackPatternType = kTrackTypes;
    for (size_t t = 0; t < kTracks; ++t) {
        style->tracks[t] = {kNewStyleMode[t], kNewStyleTension[t], kNewStyleThirdFlag[t], kNewStyleTrackByte};
    }
    return style;
}

void CNstQeIfc::OnElementCreated(CNstStyleElem& element, int e)
{
    element.ntt = kElementNtt[size_t(e)];
    element.newCvBars = kElementNewCvBars[size_t(e)];
    for (size_t t = 0; t < kTracks; ++t) {
        element.tracks[t].expression = kTrackExpression[t];
        element.tracks[t].bankMsb = 0;
        element.tracks[t].bankLsb = kTrackBankLsb[t];
    }
}

void CNstQeIfc::OnChordVarCreated(CNstChordVar&, int) {}

void CNstQeIfc::OnPatternCreated(CNstPattern& pattern, int t)
{
    pattern.type = kTrackTypes[size_t(t)];
}

} // namespace zib::ulvarf
