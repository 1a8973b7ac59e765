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

} // namespace

CPropEventList CPropEventList::Decode(std::span<const uint8_t> stream, size_t limit)
{
    CPropEventList list;
    zib::ByteCursor in(stream);
    uint64_t tick = 0;
    uint8_t track = 0;
    while (list.events_.size() < limit) {
        PropFrame frame;
        const PropFrame::Read read = PropFrame::Next(in, frame);
        if (read == PropFrame::Read::NoMore) break;
        if (read == PropFrame::Read::Corrupted || tick + frame.delta > UINT32_MAX) {
            list.damaged_ = true;
            break;
        }
        tick += frame.delta;
        if (frame.trackChange) track = uint8_t((track + frame.trackStep) & 0x7F);
        if (frame.EndsStream()) {
            list.hasEnd_ = true;
            list.endTick_ = uint32_t(tick);
            break;
        }
        list.events_.push_back({uint32_t(tick), track, frame.kind(), uint32_t(list.store_.size()),
                                uint32_t(frame.payload.size() + 1)});
        list.store_.push_back(frame.kindByte);
        list.store_.insert(list.store_.end(), frame.payload.begin(), frame.payload.end());
        list.endTick_ = uint32_t(tick);
    }
    return list;
}

bool CPropEventList::IsEmptyStream(std::span<const uint8_t> stream)
{
    // The first event that is not a continue marker decides.
    zib::ByteCursor in(stream);
    for (;;) {
        PropFrame frame;
        switch (PropFrame::Next(in, frame)) {
        case PropFrame::Read::NoMore:
            return true;
        case PropFrame::Read::Corrupted:
            return false;
        case PropFrame::Read::Frame:
            break;
        }
        if (frame.EndsStream()) return true;
        if (frame.kindByte != PropKind::Continue) return false;
    }
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
    uint8_t bytes[4];
    out.bytes(bytes, PropFrame::DeltaForm(delta, bytes));
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
