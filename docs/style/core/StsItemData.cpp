#include "docs/style/core/StsItemData.h"

namespace zib {

StsTrackRecord::StsTrackRecord(std::span<uint8_t> data, size_t offset)
{
    if (offset <= data.size() && data.size() - offset >= StsItemData::kTrackRecord)
        record_ = data.subspan(offset, StsItemData::kTrackRecord);
}

StsTrackRecord StsTrackRecord::StyleTrack(std::span<uint8_t> data, int t)
{
    if (t < 0 || t >= StsItemData::kStyleTrackCount) return StsTrackRecord({}, 0);
    return StsTrackRecord(data, StsItemData::kStyleTracks + StsItemData::kTrackRecord * size_t(t));
}

StsTrackRecord StsTrackRecord::RealtimeTrack(std::span<uint8_t> data, size_t blockOffset, int r)
{
    if (r < 0 || r >= StsItemData::kRealtimeTrackCount) return StsTrackRecord({}, 0);
    return StsTrackRecord(data, blockOffset + StsItemData::kStsHead + StsItemData::kTrackRecord * size_t(r));
}

uint32_t StsTrackRecord::Sound() const
{
    if (!Valid()) return 0;
    return uint32_t(record_[kMsb]) << 24 | uint32_t(record_[kLsb]) << 16 | uint32_t(record_[10]) << 8 |
           record_[kProgram];
}

void StsTrackRecord::SetSound(uint32_t sound)
{
    if (!Valid()) return;
    record_[kMsb] = uint8_t(sound >> 24);
    record_[kLsb] = uint8_t(sound >> 16);
    record_[kProgram] = uint8_t(sound);
}

void StsTrackRecord::SetVolume(uint8_t v)
{
    if (Valid()) record_[kVolume] = v;
}

void StsTrackRecord::SetPan(uint8_t v)
{
    if (Valid()) record_[kPan] = v;
}

} // namespace zib
