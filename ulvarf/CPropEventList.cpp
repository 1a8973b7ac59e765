#include "ulvarf/CPropEventList.h"

#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace zib::ulvarf {

namespace {

constexpr uint8_t kTrackChange = 0x40;
constexpr uint8_t kThreeByteForm = 0x20;

// The bytes of one event after its kind (and track-change) byte, or -1 when
// they run past the stream.
long payloadSize(uint8_t kindByte, const zib::ByteCursor& in)
{
    const uint8_t kind = kindByte & 0x1F;
    if (kindByte & kThreeByteForm) return 3;
    if (kind == CPropEventList::kMeta || kind == CPropEventList::kSysEx) {
        if (!in.has(3)) return -1;
        const uint8_t* p = in.here();
        return 3 + long(((p[1] & 0x7F) << 7) | (p[2] & 0x7F));
    }
    if (kind == PropKind::Continue || kind == CPropEventList::kEndOfStream) return 0;
    for (size_t i = 0; i < in.remaining(); ++i) {
        if (in.here()[i] & 0x80) return long(i + 1);
    }
    return -1;
}

} // namespace

CPropEventList CPropEventList::Decode(std::span<const uint8_t> stream, size_t limit)
{
    CPropEventList list;
    zib::ByteCursor in(stream);
    uint64_t tick = 0;
    uint8_t track = 0;
    while (!in.atEnd() && list.events_.size() < limit) {
        uint32_t delta = 0;
        int deltaBytes = 0;
        while (in.has(1) && (in.peek() & 0x80)) {
            if (deltaBytes == 4) {
                list.damaged_ = true;
                return list;
            }
            delta = (delta << 7) | (in.u8() & 0x7F);
            ++deltaBytes;
        }
        tick += delta;
        if (!in.has(1) || tick > UINT32_MAX) {
            list.damaged_ = true;
            return list;
        }
        uint8_t kindByte = in.u8();
        if (kindByte & kTrackChange) {
            if (!in.has(1)) {
                list.damaged_ = true;
                return list;
            }
            track = uint8_t((track + in.u8()) & 0x7F);
            kindByte &= uint8_t(~kTrackChange);
        }
        const long payload = payloadSize(kindByte, in);
        if (payload < 0 || !in.has(size_t(payload))) {
            list.damaged_ = true;
            return list;
        }
        const std::span<const uint8_t> rest = in.bytes(size_t(payload));
        const uint8_t kind = kindByte & 0x1F;
        const bool endOfTrack = kind == kMeta && !(kindByte & kThreeByteForm) &&
                                (rest[0] == kMetaEndOfTrack || (rest[0] == kMetaControl && payload > 3 && rest[3] == 1));
        if (endOfTrack || kind == kEndOfStream) {
            list.hasEnd_ = true;
            list.endTick_ = uint32_t(tick);
            return list;
        }
        list.events_.push_back({uint32_t(tick), track, kind, uint32_t(list.store_.size()), uint32_t(payload + 1)});
        list.store_.push_back(kindByte);
        list.store_.insert(list.store_.end(), rest.begin(), rest.end());
        list.endTick_ = uint32_t(tick);
    }
    return list;
}

bool CPropEventList::IsEmptyStream(std::span<const uint8_t> stream)
{
    if (stream.empty()) return true;
    const CPropEventList first = Decode(stream, 1);
    return first.empty() && !first.damaged();
}

std::span<const uint8_t> CPropEventList::Bytes(const Event& event) const
{
    return {store_.data() + event.offset, event.size};
}

uint8_t CPropEventList::Payload(const Event& event, size_t i) const
{
    return i + 1 < event.size ? store_[event.offset + 1 + i] : 0;
}

bool CPropEventList::IsMeta(const Event& event, uint8_t type) const
{
    return event.kind == kMeta && event.size >= 4 && !(store_[event.offset] & kThreeByteForm) &&
           store_[event.offset + 1] == type;
}

std::span<const uint8_t> CPropEventList::MetaData(const Event& event) const
{
    if (event.size < 4) return {};
    return {store_.data() + event.offset + 4, event.size - 4};
}

void CPropEventList::Append(uint32_t tick, uint8_t track, std::span<const uint8_t> bytes)
{
    if (bytes.empty()) return;
    events_.push_back({tick, uint8_t(track & 0x7F), uint8_t(bytes[0] & 0x1F), uint32_t(store_.size()),
                       uint32_t(bytes.size())});
    store_.insert(store_.end(), bytes.begin(), bytes.end());
    store_[events_.back().offset] &= uint8_t(~kTrackChange);
}

void CPropEventList::AppendFrom(const CPropEventList& other, const Event& event, uint32_t tick)
{
    Append(tick, event.track, other.Bytes(event));
}

void CPropEventList::AppendMeta(uint32_t tick, uint8_t type, std::span<const uint8_t> data)
{
    const size_t n = std::min<size_t>(data.size(), 0x3FFF);
    std::vector<uint8_t> bytes = {kMeta, type, uint8_t(n >> 7), uint8_t(n & 0x7F)};
    bytes.insert(bytes.end(), data.begin(), data.begin() + long(n));
    Append(tick, 0, bytes);
}

void CPropEventList::SortByTick()
{
    std::stable_sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) { return a.tick < b.tick; });
}

void CPropEventList::SetKind(size_t i, uint8_t kind)
{
    Event& event = events_[i];
    uint8_t& kindByte = store_[event.offset];
    kindByte = uint8_t((kindByte & 0xE0) | (kind & 0x1F));
    event.kind = kind & 0x1F;
}

void CPropEventList::Reserve(size_t events, size_t bytes)
{
    events_.reserve(events);
    store_.reserve(bytes);
}

void CPropEventList::WriteDelta(uint32_t delta, zib::ByteWriter& out)
{
    if (delta == 0) return;
    if (delta >= (1u << 21)) out.u8(uint8_t(0x80 | ((delta >> 21) & 0x7F)));
    if (delta >= (1u << 14)) out.u8(uint8_t(0x80 | ((delta >> 14) & 0x7F)));
    if (delta >= (1u << 7)) out.u8(uint8_t(0x80 | ((delta >> 7) & 0x7F)));
    out.u8(uint8_t(0x80 | (delta & 0x7F)));
}

bool CPropEventList::Encode(uint32_t endTick, zib::ByteWriter& out) const
{
    uint32_t previous = 0;
    uint8_t track = 0;
    for (const Event& event : events_) {
        if (event.tick < previous || event.tick - previous > kMaxDelta) return false;
        WriteDelta(event.tick - previous, out);
        previous = event.tick;
        const std::span<const uint8_t> bytes = Bytes(event);
        if (event.kind != kMeta && event.track != track) {
            out.u8(uint8_t(bytes[0] | kTrackChange));
            out.u8(uint8_t((event.track - track) & 0x7F));
            track = event.track;
        } else {
            out.u8(bytes[0]);
        }
        out.bytes(bytes.subspan(1));
    }
    const uint32_t end = std::max(endTick, previous);
    if (end - previous > kMaxDelta) return false;
    WriteDelta(end - previous, out);
    for (uint8_t b : {kMeta, kMetaEndOfTrack, uint8_t(0), uint8_t(0)}) out.u8(b);
    return out.ok();
}

std::optional<std::vector<uint8_t>> CPropEventList::Encode(uint32_t endTick) const
{
    zib::ByteWriter out;
    out.reserve(store_.size() + events_.size() * 2 + 8);
    if (!Encode(endTick, out)) return std::nullopt;
    return out.take();
}

} // namespace zib::ulvarf
