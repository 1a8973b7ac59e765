#include "ulvarf/CChunkNav.h"

#include "ulvarf/COComp.h"

#include "platform/ByteCursor.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace zib::ulvarf {

// ---- Construction ----

CChunkNav::CChunkNav(std::span<uint8_t> buffer)
    : base_(buffer.data()), capacity_(buffer.size())
{
    adoptTop();
}

CChunkNav::CChunkNav(OwningTag, std::vector<uint8_t> bytes)
    : owned_(std::move(bytes)), owns_(true)
{
    base_ = owned_.data();
    capacity_ = owned_.size();
    adoptTop();
}

CChunkNav::CChunkNav(const CChunkNav& other, size_t extraRoom) : owns_(true)
{
    if (!other.valid()) return;
    const auto chunk = other.Chunk();
    owned_.reserve(chunk.size() + extraRoom);
    owned_.assign(chunk.begin(), chunk.end());
    owned_.resize(chunk.size() + extraRoom);
    base_ = owned_.data();
    capacity_ = owned_.size();
    adoptTop();
}

CChunkNav::CChunkNav(const CChunkNav& other, std::span<uint8_t> buffer)
    : base_(buffer.data()), capacity_(buffer.size())
{
    if (!other.valid()) return;
    const auto chunk = other.Chunk();
    if (chunk.size() > capacity_) return;
    std::memmove(base_, chunk.data(), chunk.size());
    adoptTop();
}

CChunkNav::CChunkNav(ReadOnlyTag, std::span<const uint8_t> image)
    : view_(image.data()), capacity_(image.size()), readOnly_(true)
{
    adoptTop();
}

CChunkNav CChunkNav::ReadOnly(std::span<const uint8_t> image)
{
    return CChunkNav(ReadOnlyTag{}, image);
}

CChunkNav CChunkNav::Owning(std::vector<uint8_t> bytes)
{
    return CChunkNav(OwningTag{}, std::move(bytes));
}

CChunkNav::~CChunkNav() = default;

void CChunkNav::adoptTop()
{
    path_.clear();
    if (bytes() && fits(0, capacity_)) path_.push_back(0);
}

bool CChunkNav::WriteChunkHead(std::span<uint8_t> out, uint8_t id, uint8_t id1, uint8_t id2,
                               uint8_t flags, uint32_t size)
{
    if (out.size() < kChunkHeadSize) return false;
    const uint8_t head[kChunkHeadSize] = {id, id1, id2, flags,
                                          uint8_t(size >> 24), uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)};
    std::memcpy(out.data(), head, kChunkHeadSize);
    return true;
}

// ---- Raw access ----

uint8_t CChunkNav::byteAt(size_t i) const
{
    return valid() ? bytes()[path_.back() + i] : 0;
}

uint32_t CChunkNav::sizeAt(size_t head) const
{
    zib::ByteCursor cursor(bytes(), capacity_);
    cursor.seek(head + 4);
    return cursor.u32be();
}

void CChunkNav::setSizeAt(size_t head, uint32_t size)
{
    WriteChunkHead({base_ + head, kChunkHeadSize}, base_[head], base_[head + 1], base_[head + 2],
                   base_[head + 3], size);
}

bool CChunkNav::fits(size_t head, size_t end) const
{
    if (end > capacity_ || head > end || end - head < kChunkHeadSize) return false;
    return sizeAt(head) <= end - head - kChunkHeadSize;
}

bool CChunkNav::passes(size_t head, const ChunkWanted& wanted) const
{
    const uint8_t* p = bytes() + head;
    if (wanted.id >= 256 && p[0] != (wanted.id & 0xFF)) return false;
    auto flagOk = [&](FlagWanted want, uint8_t bit) {
        return want == FlagWanted::Any || ((p[3] & bit) != 0) == (want == FlagWanted::Set);
    };
    return flagOk(wanted.newForm, kChunkNewForm) && flagOk(wanted.leaf, kChunkLeaf);
}

bool CChunkNav::pathOk() const
{
    if (path_.empty() || !fits(0, capacity_)) return false;
    for (size_t i = 1; i < path_.size(); ++i) {
        const size_t parent = path_[i - 1];
        if (path_[i] < parent + kChunkHeadSize || !fits(path_[i], endOf(parent))) return false;
    }
    return true;
}

NavResult CChunkNav::current() const
{
    return {bytes()[path_.back()], true};
}

// ---- The current chunk and the buffer ----

uint32_t CChunkNav::PayloadSize() const
{
    return valid() ? sizeAt(path_.back()) : 0;
}

std::span<const uint8_t> CChunkNav::Payload() const
{
    if (!pathOk()) return {};
    return {bytes() + path_.back() + kChunkHeadSize, sizeAt(path_.back())};
}

std::span<uint8_t> CChunkNav::WritablePayload()
{
    if (!editable()) return {};
    return {base_ + path_.back() + kChunkHeadSize, sizeAt(path_.back())};
}

std::span<const uint8_t> CChunkNav::Chunk() const
{
    if (!pathOk()) return {};
    return {bytes() + path_.back(), kChunkHeadSize + sizeAt(path_.back())};
}

bool CChunkNav::SetFlags(uint8_t flags)
{
    if (!editable()) return false;
    base_[path_.back() + 3] = flags;
    return true;
}

std::span<const uint8_t> CChunkNav::Image() const
{
    return valid() ? std::span<const uint8_t>(bytes(), usedLength()) : std::span<const uint8_t>();
}

size_t CChunkNav::usedLength() const
{
    return valid() ? endOf(0) : 0;
}

size_t CChunkNav::freeRoom() const
{
    return capacity_ - usedLength();
}

void CChunkNav::ShrinkToUsed()
{
    if (!owns_ || !valid()) return;
    owned_.resize(usedLength());
    owned_.shrink_to_fit();
    base_ = owned_.data();
    capacity_ = owned_.size();
}

// ---- Navigation ----

NavResult CChunkNav::Top()
{
    if (!pathOk()) return {};
    path_.resize(1);
    return current();
}

NavResult CChunkNav::Enter(const ChunkWanted& wanted)
{
    if (!pathOk()) return {};
    const size_t head = path_.back();
    const uint8_t flags = bytes()[head + 3];
    if ((flags & (kChunkLeaf | kChunkCompressed)) || sizeAt(head) == 0) return {};
    const size_t child = head + kChunkHeadSize;
    if (!fits(child, endOf(head)) || !passes(child, wanted)) return {};
    path_.push_back(child);
    return current();
}

NavResult CChunkNav::Next(const ChunkWanted& wanted)
{
    if (!pathOk() || path_.size() < 2) return {};
    const size_t parentEnd = endOf(path_[path_.size() - 2]);
    const size_t sibling = endOf(path_.back());
    if (sibling >= parentEnd || !fits(sibling, parentEnd) || !passes(sibling, wanted)) return {};
    path_.back() = sibling;
    return current();
}

NavResult CChunkNav::Up()
{
    if (!pathOk() || path_.size() < 2) return {};
    path_.pop_back();
    return current();
}

NavResult CChunkNav::Search(const ChunkWanted& wanted, int floorDepth, int exactDepth)
{
    if (!pathOk()) return {};
    const std::vector<size_t> start = path_;
    const int stop = exactDepth > 0 ? std::min(floorDepth, exactDepth) : floorDepth;
    for (;;) {
        bool moved = (exactDepth <= 0 || depth() < exactDepth) && Enter();
        while (!moved) {
            if (Next()) {
                moved = true;
            } else if (!Up() || depth() <= stop) {
                path_ = start;
                return {};
            }
        }
        if (passes(path_.back(), wanted) && (exactDepth <= 0 || depth() == exactDepth)) return current();
    }
}

NavResult CChunkNav::GoToHeader(size_t headerOffset, int exactDepth)
{
    if (!pathOk()) return {};
    const std::vector<size_t> start = path_;
    while (headerOffset < path_.back() && Up()) {}
    for (;;) {
        if (path_.back() == headerOffset && (exactDepth <= 0 || depth() == exactDepth)) return current();
        // Chunks come in document order: once past the target it cannot be found.
        if (path_.back() > headerOffset || !Search({}, 0, exactDepth)) {
            path_ = start;
            return {};
        }
    }
}

// ---- Editing ----

bool CChunkNav::ensureRoom(size_t needed)
{
    if (needed <= capacity_) return true;
    if (!owns_) return false;
    try {
        owned_.resize(std::max(needed, capacity_ + capacity_ / 2));
    } catch (const std::exception&) {
        return false;
    }
    base_ = owned_.data();
    capacity_ = owned_.size();
    return true;
}

// Opens (delta > 0, zero-filled) or closes (delta < 0) room at `at`, moving
// the bytes behind it, and changes the sizes of the first `levels` chunks of
// the path (those that enclose `at`) by delta.
bool CChunkNav::moveTail(size_t at, int64_t delta, size_t levels)
{
    const size_t used = usedLength();
    if (delta > 0) {
        if (uint64_t(sizeAt(0)) + uint64_t(delta) > UINT32_MAX) return false;
        if (!ensureRoom(used + size_t(delta))) return false;
        std::memmove(base_ + at + delta, base_ + at, used - at);
        std::memset(base_ + at, 0, size_t(delta));
    } else if (delta < 0) {
        const size_t gap = size_t(-delta);
        std::memmove(base_ + at, base_ + at + gap, used - at - gap);
    }
    for (size_t i = 0; i < levels; ++i)
        setSizeAt(path_[i], uint32_t(int64_t(sizeAt(path_[i])) + delta));
    return true;
}

bool CChunkNav::Resize(uint32_t newSize)
{
    if (!editable()) return false;
    const size_t head = path_.back();
    const int64_t delta = int64_t(newSize) - int64_t(sizeAt(head));
    if (delta > 0) return moveTail(endOf(head), delta, path_.size());
    if (delta < 0) return moveTail(endOf(head) + size_t(delta), delta, path_.size());
    return true;
}

uint8_t* CChunkNav::ResizeAndGetPayload(uint32_t newSize)
{
    if (!Resize(newSize)) return nullptr;
    return base_ + path_.back() + kChunkHeadSize;
}

bool CChunkNav::SetPayload(std::span<const uint8_t> bytes)
{
    if (bytes.size() > UINT32_MAX) return false;
    // The source may lie in this buffer, which a resize can move.
    const std::vector<uint8_t> copy(bytes.begin(), bytes.end());
    uint8_t* payload = ResizeAndGetPayload(uint32_t(copy.size()));
    if (!payload) return false;
    if (!copy.empty()) std::memcpy(payload, copy.data(), copy.size());
    return true;
}

NavResult CChunkNav::DeleteCurrent()
{
    if (!editable() || path_.size() < 2) return {};
    const size_t head = path_.back();
    const int64_t length = int64_t(kChunkHeadSize) + sizeAt(head);
    moveTail(head, -length, path_.size() - 1);
    if (head >= endOf(path_[path_.size() - 2])) path_.pop_back();
    return current();
}

NavResult CChunkNav::insertFirst(const uint8_t* head, std::span<const uint8_t> payload, uint32_t size)
{
    if (!editable()) return {};
    const size_t parent = path_.back();
    if (base_[parent + 3] & (kChunkLeaf | kChunkCompressed)) return {};
    const size_t at = parent + kChunkHeadSize;
    if (!moveTail(at, int64_t(kChunkHeadSize) + size, path_.size())) return {};
    std::memcpy(base_ + at, head, kChunkHeadSize);
    if (!payload.empty()) std::memcpy(base_ + at + kChunkHeadSize, payload.data(), payload.size());
    path_.push_back(at);
    return current();
}

NavResult CChunkNav::insertAfter(const uint8_t* head, std::span<const uint8_t> payload, uint32_t size)
{
    if (!editable() || path_.size() < 2) return {};
    const size_t at = endOf(path_.back());
    if (!moveTail(at, int64_t(kChunkHeadSize) + size, path_.size() - 1)) return {};
    std::memcpy(base_ + at, head, kChunkHeadSize);
    if (!payload.empty()) std::memcpy(base_ + at + kChunkHeadSize, payload.data(), payload.size());
    path_.back() = at;
    return current();
}

namespace {

// The head of a new chunk; a container always starts empty.
std::vector<uint8_t> newHead(const NewChunk& chunk)
{
    const uint32_t size = chunk.leaf ? chunk.size : 0;
    const uint8_t flags = uint8_t((chunk.newForm ? kChunkNewForm : 0) | (chunk.leaf ? kChunkLeaf : 0));
    std::vector<uint8_t> head(kChunkHeadSize);
    CChunkNav::WriteChunkHead(head, chunk.id, chunk.id1, chunk.id2, flags, size);
    return head;
}

} // namespace

NavResult CChunkNav::AddFirstChild(const NewChunk& chunk)
{
    return insertFirst(newHead(chunk).data(), {}, chunk.leaf ? chunk.size : 0);
}

NavResult CChunkNav::AddFirstChildCopy(const CChunkNav& other)
{
    // A copy first: the other cursor may walk this very buffer.
    const auto source = other.Chunk();
    if (source.empty()) return {};
    const std::vector<uint8_t> copy(source.begin(), source.end());
    return insertFirst(copy.data(), std::span(copy).subspan(kChunkHeadSize),
                       uint32_t(copy.size() - kChunkHeadSize));
}

NavResult CChunkNav::InsertSibling(const NewChunk& chunk)
{
    return insertAfter(newHead(chunk).data(), {}, chunk.leaf ? chunk.size : 0);
}

NavResult CChunkNav::InsertSiblingCopy(const CChunkNav& other)
{
    const auto source = other.Chunk();
    if (source.empty()) return {};
    const std::vector<uint8_t> copy(source.begin(), source.end());
    return insertAfter(copy.data(), std::span(copy).subspan(kChunkHeadSize),
                       uint32_t(copy.size() - kChunkHeadSize));
}

NavResult CChunkNav::InsertSiblingLikeCurrent(uint32_t size)
{
    if (!editable()) return {};
    uint8_t head[kChunkHeadSize];
    const uint8_t* current = base_ + path_.back();
    // Zero bytes are no children: a container sibling gets no payload.
    if (!(current[3] & (kChunkLeaf | kChunkCompressed))) size = 0;
    WriteChunkHead(head, current[0], current[1], current[2], current[3], size);
    return insertAfter(head, {}, size);
}

// ---- Compression ----

bool CChunkNav::Compress(int version, int level)
{
    if (!editable()) return false;
    if (flags() & kChunkCompressed) return true;
    const auto payload = WritablePayload();
    const size_t n = payload.size();
    if (n == 0) return false;
    std::unique_ptr<uint8_t[]> block;
    try {
        block = std::make_unique_for_overwrite<uint8_t[]>(n);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // A block no smaller than the payload is of no use: the encoder gets
    // exactly n bytes of room and gives up past them.
    const uint32_t length = COComp::Encode(payload, {block.get(), n}, version, level);
    if (length == 0 || length > n) return false;
    std::memcpy(payload.data(), block.get(), length);
    Resize(length); // shrinking always succeeds
    return SetFlags(uint8_t(flags() | kChunkCompressed));
}

bool CChunkNav::Decompress(bool check)
{
    if (!editable()) return false;
    if (!(flags() & kChunkCompressed)) return true;
    const auto block = Payload();
    const uint32_t length = COComp::UncompressedLength(block);
    if (length == 0) return false;
    std::unique_ptr<uint8_t[]> data;
    try {
        data = std::make_unique_for_overwrite<uint8_t[]>(length);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (COComp::Decode(block, {data.get(), length}, check) != length) return false;
    uint8_t* payload = ResizeAndGetPayload(length);
    if (!payload) return false;
    std::memcpy(payload, data.get(), length);
    return SetFlags(uint8_t(flags() & ~kChunkCompressed));
}

} // namespace zib::ulvarf
