#include "styles/CStyleTrackChunk.h"

#include "midi/MidiErrorText.h"

namespace zib {

namespace {

constexpr uint8_t kLastByteBit = 0x80;
constexpr uint8_t kTrackChangeFlag = 0x40;
constexpr uint8_t kUnknownFormFlag = 0x20;
constexpr uint8_t kKindMask = 0x1F;
constexpr uint8_t kKindMeta = 9;
constexpr uint8_t kKindSysEx = 10;
constexpr uint8_t kKindContinue = 30;
constexpr uint8_t kKindEndOfStream = 31;
constexpr size_t kMaxDeltaBytes = 4;
constexpr size_t kStreamOffset = 16;
constexpr uint64_t kDeltaLimit = uint64_t(1) << 28;

constexpr MidiErrorText kStyleTrackChunkErrorTexts[] = {
    {int(TrackChunkError::None), "Success"},
    {int(TrackChunkError::SizeField), "Pattern chunk size field is wrong"},
    {int(TrackChunkError::BeyondChunk), "Read beyond the pattern chunk"},
    {int(TrackChunkError::KindByte), "Event kind byte not below 0x80"},
    {int(TrackChunkError::DeltaTooLong), "Delta time longer than 4 bytes"},
    {int(TrackChunkError::UnknownForm), "Event of the 0x20 form without its last byte"},
    {int(TrackChunkError::OutputSize), "Output buffer missing or not of the measured size"},
};

uint32_t bigEndian32(std::span<const uint8_t> bytes, size_t at)
{
    ByteCursor cursor(bytes);
    cursor.seek(at);
    return cursor.u32be();
}

int code(TrackChunkError error) { return int(error); }

} // namespace

const char* TrackChunkErrorText(int code)
{
    return FindMidiErrorText(kStyleTrackChunkErrorTexts, code);
}

// Delta form

uint32_t CStyleTrackChunk::DecodeDelta(std::span<const uint8_t> bytes)
{
    uint32_t value = 0;
    for (size_t i = 0; i < bytes.size() && i < kMaxDeltaBytes && (bytes[i] & kLastByteBit); ++i)
        value = (value << 7) | (bytes[i] & 0x7F);
    return value;
}

int CStyleTrackChunk::WriteDelta(uint64_t value, uint8_t (&out)[4])
{
    if (value >= kDeltaLimit) return kDeltaTooLarge;
    int count = 0;
    for (int shift = 21; shift > 0; shift -= 7)
        if (value >= (uint64_t(1) << shift)) out[count++] = uint8_t(kLastByteBit | ((value >> shift) & 0x7F));
    if (value) out[count++] = uint8_t(kLastByteBit | (value & 0x7F));
    return count;
}

// Walking

int CStyleTrackChunk::WalkChunk()
{
    runningTime_ = 0;
    delta_ = 0;
    pendingDelta_ = 0;
    hasChord_ = hasKey_ = false;
    chord_ = key_ = 0;
    streamSize_ = 0;
    stream_ = ByteCursor();

    if (chunk_.size() < 8) return code(TrackChunkError::BeyondChunk);
    if (bigEndian32(chunk_, 4) != chunk_.size() - 8) return code(TrackChunkError::SizeField);
    if (chunk_.size() < kStreamOffset) return code(TrackChunkError::BeyondChunk);
    streamSize_ = bigEndian32(chunk_, 12);
    if (streamSize_ > chunk_.size() - kStreamOffset) return code(TrackChunkError::BeyondChunk);
    streamAt_ = kStreamOffset;
    stream_ = ByteCursor(chunk_.data() + streamAt_, streamSize_);

    while (!stream_.atEnd())
        if (int result = ReadEvent(); result != 0) return result;

    // Exactly two bytes after the stream are the chord and key.
    if (chunk_.size() - kStreamOffset - streamSize_ == 2) {
        chord_ = chunk_[kStreamOffset + streamSize_];
        key_ = chunk_[kStreamOffset + streamSize_ + 1];
        hasChord_ = hasKey_ = true;
    }
    return 0;
}

int CStyleTrackChunk::ReadEvent()
{
    // Delta: the bytes with bit 7 set, at most 4.
    const size_t start = stream_.pos();
    size_t count = 0;
    while (stream_.has(count + 1) && (stream_.here()[count] & kLastByteBit)) {
        if (++count > kMaxDeltaBytes) return code(TrackChunkError::DeltaTooLong);
    }
    deltaAt_ = streamAt_ + start;
    deltaBytes_ = count;
    delta_ = DecodeDelta(stream_.bytes(count));
    runningTime_ += delta_;
    if (stream_.atEnd()) return code(TrackChunkError::BeyondChunk);

    // Kind byte and track change
    const size_t at = stream_.pos();
    const uint8_t kindByte = stream_.u8();
    if (kindByte & kLastByteBit) return code(TrackChunkError::KindByte);
    trackChange_ = (kindByte & kTrackChangeFlag) != 0;
    flag20_ = (kindByte & kUnknownFormFlag) != 0;
    kind_ = kindByte & kKindMask;
    eventAt_ = streamAt_ + at;
    eventLength_ = 1;
    trackChangeByte_ = 0;
    if (trackChange_) {
        if (stream_.atEnd()) return code(TrackChunkError::BeyondChunk);
        trackChangeByte_ = stream_.u8();
        eventLength_ = 2;
    }

    // A form no event has: three bytes, the third with bit 7 set. The
    // library's decoder skips it the same way and reads it as an unknown
    // event, so it goes where the unknown kinds go.
    if (flag20_) {
        if (!stream_.has(3)) return code(TrackChunkError::BeyondChunk);
        if (!(stream_.here()[2] & kLastByteBit)) return code(TrackChunkError::UnknownForm);
        stream_.skip(3);
        eventLength_ += 3;
        return OnOtherEvent();
    }

    // Meta event and system exclusive: type or mode, length high 7 bits,
    // length low 7 bits, the data.
    if (kind_ == kKindMeta || kind_ == kKindSysEx) {
        if (!stream_.has(3)) return code(TrackChunkError::BeyondChunk);
        const size_t length = size_t(stream_.here()[1] & 0x7F) << 7 | (stream_.here()[2] & 0x7F);
        if (!stream_.skip(3 + length)) return code(TrackChunkError::BeyondChunk);
        eventLength_ += 3 + length;
        return kind_ == kKindMeta ? OnMetaEvent() : OnChannelEvent();
    }

    // Continue marker and end of stream have no payload.
    if (kind_ == kKindContinue || kind_ == kKindEndOfStream) return OnChannelEvent();

    // Any other kind: the payload runs up to its first byte with bit 7 set.
    size_t payload = 0;
    while (stream_.has(payload + 1) && !(stream_.here()[payload] & kLastByteBit)) ++payload;
    if (!stream_.has(payload + 1)) return code(TrackChunkError::BeyondChunk);
    stream_.skip(payload + 1);
    eventLength_ += payload + 1;
    return kind_ >= 11 ? OnOtherEvent() : OnChannelEvent();
}

} // namespace zib
