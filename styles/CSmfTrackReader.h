#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/ByteWriter.h"
#include "styles/CStyleTrackChunk.h"

namespace zib {

// The pattern filter: rewrites one pattern chunk without its VexSound events
// and the events of kinds that have no defined event (kinds 11-29), for a
// keyboard model without that sound technology. The delta of a dropped event
// moves to the next kept one, and so does its track change (to the next kept
// event that is not a meta event), so every kept event keeps its time and
// its track.
//
// Init measures the filtered chunk; the caller allocates GetOutputSize()
// bytes and Build writes the chunk into them: head (source id, 0, 0, 0x08,
// size), the source's pattern length, the new stream size, the kept events,
// and the chord/key trailer when the source has one.
class CSmfTrackReader : public CStyleTrackChunk {
public:
    // Filtering: 0 or a TrackChunkError code
    int Init(std::span<const uint8_t> chunk);
    // Writes the chunk measured by Init into out, which must hold exactly
    // GetOutputSize() bytes or more; nothing is written on failure.
    int Build(std::span<const uint8_t> chunk, std::span<uint8_t> out);

    // Size of the filtered chunk (0 until Init succeeds)
    uint32_t GetOutputSize() const { return outputSize_; }

protected:
    int OnOtherEvent() override;   // dropped
    int OnChannelEvent() override; // kept
    int OnMetaEvent() override;    // kept

private:
    int Keep();

    uint32_t outputSize_ = 0;
    uint64_t measured_ = 0;        // stream bytes of the kept events
    uint8_t pendingTrackStep_ = 0; // track change of dropped events, not yet passed on
    bool pendingTrackChange_ = false;
    ByteWriter* out_ = nullptr;
};

} // namespace zib
