#include "styles/CQeStyleChunkWriter.h"

#include "styles/CStyleTrackChunk.h"

namespace zib {

namespace {

constexpr size_t kChunkHeadSize = 8;
constexpr uint8_t kMetaKind = 0x09;
constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kMetaControl = 0x7E;
constexpr uint8_t kControlStartUse = 3;

} // namespace

// Chunks

bool CQeStyleChunkWriter::Open(uint8_t id, uint8_t flags)
{
    const size_t at = out_.size();
    if (!HasRoom(kChunkHeadSize)) {
        out_.fill(0, kChunkHeadSize); // marks the writer failed
        return false;
    }
    out_.u8(id);
    out_.u8(0);
    out_.u8(0);
    out_.u8(flags);
    out_.u32be(0);
    open_.push_back(at);
    return true;
}

bool CQeStyleChunkWriter::Close(uint32_t* payloadSize)
{
    if (open_.empty() || out_.failed()) return false;
    const size_t at = open_.back();
    open_.pop_back();
    const uint32_t size = uint32_t(out_.size() - at - kChunkHeadSize);
    if (payloadSize) *payloadSize = size;
    return out_.patchU32be(at + 4, size);
}

// Property event stream

CQeStyleChunkWriter::Status CQeStyleChunkWriter::Delta(uint32_t ticks)
{
    uint8_t bytes[4];
    const int count = CStyleTrackChunk::WriteDelta(ticks, bytes);
    if (count == CStyleTrackChunk::kDeltaTooLarge) return Status::DeltaTooLarge;
    return out_.bytes(bytes, size_t(count)) ? Status::Ok : Status::NoRoom;
}

CQeStyleChunkWriter::Status CQeStyleChunkWriter::Event(uint32_t delta, std::span<const uint8_t> bytes)
{
    uint8_t deltaBytes[4];
    const int count = CStyleTrackChunk::WriteDelta(delta, deltaBytes);
    if (count == CStyleTrackChunk::kDeltaTooLarge) return Status::DeltaTooLarge;
    if (!HasRoom(size_t(count) + bytes.size())) {
        out_.fill(0, size_t(count) + bytes.size());
        return Status::NoRoom;
    }
    out_.bytes(deltaBytes, size_t(count));
    out_.bytes(bytes);
    return Status::Ok;
}

CQeStyleChunkWriter::Status CQeStyleChunkWriter::EndOfTrack(uint32_t delta)
{
    const uint8_t end[] = {kMetaKind, kMetaEndOfTrack, 0x00, 0x00};
    return Event(delta, end);
}

// Records

bool CQeStyleChunkWriter::StyleHeader(std::span<const uint8_t> name, uint16_t trackModes, uint8_t tensionBits,
                                      uint16_t elementMask)
{
    return OpenLeaf(0x01) && out_.u8(uint8_t(name.size())) && out_.bytes(name) && out_.u16be(trackModes) &&
           out_.u8(tensionBits) && out_.u16be(elementMask) && Close();
}

bool CQeStyleChunkWriter::PatternMap(uint16_t patternChunks, std::span<const uint16_t> uses)
{
    if (!OpenLeaf(0x01) || !out_.u16be(patternChunks) || !out_.u16be(uint16_t(uses.size()))) return false;
    for (uint16_t use : uses)
        if (!out_.u16be(use)) return false;
    return Close();
}

bool CQeStyleChunkWriter::ElementInfo(uint8_t cvMask, uint8_t ntt, uint8_t timeSig,
                                      std::span<const uint8_t> chordAssign)
{
    return OpenLeaf(0x01) && out_.u8(cvMask) && out_.u8(ntt) && out_.u8(timeSig) &&
           out_.u8(uint8_t(chordAssign.size())) && out_.bytes(chordAssign) && Close();
}

bool CQeStyleChunkWriter::TrackTable(std::span<const std::array<uint8_t, 6>> records)
{
    if (!OpenLeaf(0x02)) return false;
    for (const auto& record : records)
        if (!out_.bytes(record)) return false;
    return Close();
}

CQeStyleChunkWriter::Status CQeStyleChunkWriter::CvRecord(uint32_t length, std::span<const QeCvUse> uses)
{
    uint8_t lengthBytes[4];
    if (CStyleTrackChunk::WriteDelta(length, lengthBytes) == CStyleTrackChunk::kDeltaTooLarge)
        return Status::DeltaTooLarge;
    if (!OpenLeaf(0x03) || !out_.u32be(length)) return Status::NoRoom;
    const size_t sizeAt = out_.size();
    if (!out_.u32be(0)) return Status::NoRoom;
    for (size_t i = 0; i < uses.size(); ++i) {
        const uint8_t start[] = {kMetaKind, kMetaControl, 0x00, 0x04, kControlStartUse, uint8_t(i), 0x00, 0x00};
        if (!out_.bytes(start)) return Status::NoRoom;
    }
    if (Status s = EndOfTrack(length); s != Status::Ok) return s;
    if (!out_.patchU32be(sizeAt, uint32_t(out_.size() - sizeAt - 4))) return Status::NoRoom;
    if (!out_.u8(uint8_t(uses.size()))) return Status::NoRoom;
    for (const QeCvUse& use : uses)
        if (!out_.u8(use.type) || !out_.u8(use.track)) return Status::NoRoom;
    return Close() ? Status::Ok : Status::NoRoom;
}

// Pattern chunk

bool CQeStyleChunkWriter::OpenPattern(uint8_t id, uint32_t length)
{
    if (!OpenLeaf(id) || !out_.u32be(length) || !out_.u32be(0)) return false;
    inPattern_ = true;
    patternId_ = id;
    streamAt_ = out_.size();
    return true;
}

bool CQeStyleChunkWriter::ClosePattern(uint8_t chord, uint8_t key, uint32_t* payloadSize)
{
    if (!inPattern_) return false;
    inPattern_ = false;
    if (!out_.patchU32be(streamAt_ - 4, uint32_t(out_.size() - streamAt_))) return false;
    if (patternId_ != 0x02 && (!out_.u8(chord) || !out_.u8(key))) return false;
    return Close(payloadSize);
}

} // namespace zib
