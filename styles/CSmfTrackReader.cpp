#include "styles/CSmfTrackReader.h"

#include <algorithm>

namespace zib {

namespace {

constexpr uint32_t kHeadAndLengths = 16; // chunk head, pattern length, S
constexpr uint32_t kTrailer = 2;         // chord, key
constexpr size_t kMinOutput = 17;
constexpr uint8_t kTrackChangeFlag = 0x40;
constexpr uint8_t kKindMeta = 9;

} // namespace

// Filtering

int CSmfTrackReader::Init(std::span<const uint8_t> chunk)
{
    SetChunk(chunk);
    mode_ = Mode::Measuring;
    measured_ = 0;
    pendingTrackStep_ = 0;
    pendingTrackChange_ = false;
    outputSize_ = 0;
    out_ = nullptr;
    if (int result = WalkChunk(); result != 0) return result;
    if (measured_ == 0) return 0;
    const uint64_t total = measured_ + kHeadAndLengths + (HasChord() ? kTrailer : 0);
    outputSize_ = uint32_t(std::min<uint64_t>(total, UINT32_MAX));
    return 0;
}

int CSmfTrackReader::Build(std::span<const uint8_t> chunk, std::span<uint8_t> out)
{
    if (out.data() == nullptr || out.size() < kMinOutput || outputSize_ == 0 || out.size() < outputSize_)
        return int(TrackChunkError::OutputSize);

    ByteWriter writer(outputSize_);
    writer.u8(chunk.empty() ? 0 : chunk[0]);
    writer.u8(0);
    writer.u8(0);
    writer.u8(0x08);
    writer.u32be(outputSize_ - 8);
    writer.fill(0, 8); // pattern length and S, filled in below

    SetChunk(chunk);
    mode_ = Mode::Writing;
    pendingTrackStep_ = 0;
    pendingTrackChange_ = false;
    out_ = &writer;
    const int result = WalkChunk();
    out_ = nullptr;
    if (result != 0) return result;
    if (HasChord()) {
        writer.u8(GetChord());
        writer.u8(GetKey());
    }
    // Another chunk than the measured one gives another size.
    if (writer.failed() || writer.size() != outputSize_) return int(TrackChunkError::OutputSize);
    for (size_t i = 8; i < 12; ++i) writer.patchU8(i, chunk[i]);
    writer.patchU32be(12, outputSize_ - kHeadAndLengths - (HasChord() ? kTrailer : 0));
    std::copy(writer.bytes().begin(), writer.bytes().end(), out.begin());
    return 0;
}

// Events

int CSmfTrackReader::OnOtherEvent()
{
    pendingDelta_ += GetDelta();
    if (HasTrackChange()) {
        pendingTrackStep_ = uint8_t((pendingTrackStep_ + GetTrackChangeByte()) & 0x7F);
        pendingTrackChange_ = true;
    }
    return 0;
}

int CSmfTrackReader::OnChannelEvent() { return Keep(); }

int CSmfTrackReader::OnMetaEvent() { return Keep(); }

// A kept event: its own delta bytes, or the delta of the dropped events
// before it added to its own; the track change of dropped events joins its
// own (or becomes its own).
int CSmfTrackReader::Keep()
{
    uint8_t merged[4];
    std::span<const uint8_t> delta = GetDeltaBytes();
    if (pendingDelta_ != 0) {
        const int count = WriteDelta(pendingDelta_ + GetDelta(), merged);
        if (count == kDeltaTooLarge) return int(TrackChunkError::DeltaTooLong);
        delta = std::span<const uint8_t>(merged, size_t(count));
    }
    pendingDelta_ = 0;
    std::span<const uint8_t> event = GetEventBytes();
    const bool moveTrack = pendingTrackChange_ && GetKind() != kKindMeta;
    uint8_t head[2] = {event[0], 0};
    if (moveTrack) {
        head[0] = uint8_t(event[0] | kTrackChangeFlag);
        head[1] = uint8_t((pendingTrackStep_ + GetTrackChangeByte()) & 0x7F);
        event = event.subspan(HasTrackChange() ? 2 : 1);
        pendingTrackStep_ = 0;
        pendingTrackChange_ = false;
    }
    const std::span<const uint8_t> headBytes(head, moveTrack ? 2 : 0);
    if (mode_ == Mode::Measuring) {
        measured_ += delta.size() + headBytes.size() + event.size();
    } else if (out_) {
        out_->bytes(delta);
        out_->bytes(headBytes);
        out_->bytes(event);
    }
    return 0;
}

} // namespace zib
