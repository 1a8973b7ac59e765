#include "ulvarf/COCompEncoder.h"

#include "ulvarf/COComp.h"

#include <algorithm>
#include <cstring>

namespace zib::ulvarf {

namespace {

constexpr size_t kHashSlots = 16384;
constexpr size_t kBuckets = 1024;
constexpr size_t kBucketDepth = 32;
constexpr size_t kLinks = 65536;
constexpr int kMaxChain = 2000;
constexpr uint32_t kShortDistance = 2048;
constexpr uint32_t kNearDistance = 16384;
constexpr uint32_t kFarBit3Distance = 32768;
constexpr size_t kTailGuard = 13;      // matches start at least this far before the end
constexpr size_t kHashLongMatch = 49151; // positions hashed after a longer match
constexpr size_t kMaxLiteralRun = 65535;
constexpr size_t kLiteralPiece = 65532;

} // namespace

COCompEncoder::COCompEncoder(std::span<const uint8_t> input, std::span<uint8_t> out, int version, int level)
    : src_(input.data()), n_(input.size()), dst_(out.data()), capacity_(out.size()),
      version_(version), level_(level)
{
}

uint32_t COCompEncoder::Run()
{
    put('O');
    put('C');
    put(uint8_t('0' + version_));
    put(uint8_t('0' + level_));
    for (int i = 0; i < 4; ++i) put(uint8_t(n_ >> (8 * i)));

    if (n_ <= 17) {
        putLiteralRuns(0, n_);
    } else {
        prepareTables();
        const size_t limit = n_ - kTailGuard;
        size_t p = 0;
        size_t literalsFrom = 0;
        while (p < limit && !overflow_) {
            insertUpTo(p);
            Match match = find(p);
            if (!match.length) {
                ++p;
                continue;
            }
            if (level_ > 0) {
                // Look one position ahead; a better match there makes p a literal.
                while (p + 1 < limit) {
                    insertUpTo(p + 1);
                    Match ahead = find(p + 1);
                    if (ahead.score <= match.score) break;
                    ++p;
                    match = ahead;
                }
            }
            putPending(literalsFrom, p - literalsFrom);
            putMatch(match);
            p += match.length;
            literalsFrom = p;
            if (match.length > kHashLongMatch) nextInsert_ = std::max(nextInsert_, p - kHashLongMatch);
        }
        putLiteralRuns(literalsFrom, n_ - literalsFrom);
    }

    put(1);
    put(0);
    put(0);
    if (version_ == 3) {
        uint8_t x = 0;
        for (size_t i = 0; i < n_; ++i) x ^= src_[i];
        put(x);
    }
    return overflow_ ? 0 : uint32_t(o_);
}

// ---- Output ----

bool COCompEncoder::put(uint8_t byte)
{
    if (overflow_ || o_ >= capacity_) return overflow_ = true, false;
    dst_[o_++] = byte;
    return true;
}

bool COCompEncoder::putInput(size_t from, size_t n)
{
    if (overflow_ || n > capacity_ - o_) return overflow_ = true, false;
    std::memcpy(dst_ + o_, src_ + from, n);
    o_ += n;
    return true;
}

bool COCompEncoder::putLiteralRuns(size_t from, size_t n)
{
    lastOffsetByte_ = SIZE_MAX;
    while (n > kMaxLiteralRun) {
        put(1);
        put(uint8_t(kLiteralPiece >> 8));
        put(uint8_t(kLiteralPiece & 0xFF));
        putInput(from, kLiteralPiece);
        from += kLiteralPiece;
        n -= kLiteralPiece;
    }
    if (n == 0) return !overflow_;
    if (n <= 3 || n >= 272) { // 1-3 have no match to ride on
        put(1);
        put(uint8_t(n >> 8));
        put(uint8_t(n & 0xFF));
    } else if (n <= 17) {
        put(uint8_t(n - 2));
    } else {
        put(0);
        put(uint8_t(n - 18));
    }
    return putInput(from, n);
}

bool COCompEncoder::putPending(size_t from, size_t n)
{
    if (n == 0 || overflow_) return !overflow_;
    if (n <= 3 && lastOffsetByte_ != SIZE_MAX) {
        // They follow the previous match, which is the last thing written.
        dst_[lastOffsetByte_] |= uint8_t(n);
        return putInput(from, n);
    }
    return putLiteralRuns(from, n);
}

bool COCompEncoder::putMatch(const Match& match)
{
    const uint32_t length = match.length;
    const uint32_t distance = match.distance;
    uint32_t field;
    if (length <= 8 && distance <= kShortDistance) {
        field = distance - 1;
        put(uint8_t(((length - 1) << 5) | (field >> 6)));
    } else if (distance <= kNearDistance) {
        field = distance - 1;
        if (length <= 33) {
            put(uint8_t(32 + length - 2));
        } else if (length <= 289) {
            put(32);
            put(uint8_t(length - 34));
        } else {
            put(33);
            put(uint8_t(length >> 8));
            put(uint8_t(length & 0xFF));
        }
        put(uint8_t(field >> 6));
    } else {
        const uint8_t far = distance > kFarBit3Distance ? 16 | 8 : 16;
        field = distance - (distance > kFarBit3Distance ? 32769 : 16385);
        if (length <= 9) {
            put(uint8_t(far | (length - 2)));
        } else if (length <= 265) {
            put(far);
            put(uint8_t(length - 10));
        } else {
            put(uint8_t(far | 1));
            put(uint8_t(length >> 8));
            put(uint8_t(length & 0xFF));
        }
        put(uint8_t(field >> 6));
    }
    lastOffsetByte_ = o_;
    return put(uint8_t((field & 63) << 2));
}

// ---- Match search ----

void COCompEncoder::prepareTables()
{
    if (level_ == 1) {
        heads_ = std::make_unique_for_overwrite<uint32_t[]>(kBuckets * kBucketDepth);
        ringNext_ = std::make_unique<uint8_t[]>(kBuckets);
        ringFill_ = std::make_unique<uint8_t[]>(kBuckets);
    } else {
        heads_ = std::make_unique<uint32_t[]>(kHashSlots);
        if (level_ == 2) links_ = std::make_unique_for_overwrite<uint32_t[]>(std::min(kLinks, n_));
    }
}

uint32_t COCompEncoder::hash3(size_t p) const
{
    const uint32_t b0 = src_[p], b1 = src_[p + 1], b2 = src_[p + 2];
    return (((((b2 << 6) ^ b1) << 5) ^ b0) * 33 >> 5) & (kHashSlots - 1);
}

uint32_t COCompEncoder::bucketHash(size_t p) const
{
    const uint32_t b0 = src_[p], b1 = src_[p + 1], b2 = src_[p + 2];
    return ((b0 ^ ((b1 ^ (b2 << 4)) << 2)) * 9 >> 3) & (kBuckets - 1);
}

void COCompEncoder::insertUpTo(size_t end)
{
    end = std::min(end, n_ - 2); // a position needs three bytes to hash
    while (nextInsert_ < end) insert(nextInsert_++);
}

void COCompEncoder::insert(size_t p)
{
    if (level_ == 1) {
        const uint32_t b = bucketHash(p);
        heads_[b * kBucketDepth + ringNext_[b]] = uint32_t(p);
        ringNext_[b] = uint8_t((ringNext_[b] + 1) & (kBucketDepth - 1));
        if (ringFill_[b] < kBucketDepth) ++ringFill_[b];
        return;
    }
    const uint32_t h = hash3(p);
    if (level_ == 2) links_[p & (kLinks - 1)] = heads_[h];
    heads_[h] = uint32_t(p + 1);
}

int COCompEncoder::tokenBytes(uint32_t length, uint32_t distance)
{
    if (distance <= kShortDistance && length <= 8) return 2;
    if (distance <= kNearDistance) return length <= 33 ? 3 : length <= 289 ? 4 : 5;
    return length <= 9 ? 3 : length <= 265 ? 4 : 5;
}

COCompEncoder::Match COCompEncoder::evaluate(size_t p, size_t candidate, uint32_t bestLength) const
{
    Match match;
    const size_t distance = p - candidate;
    if (distance == 0 || distance > COComp::kMaxDistance) return match;
    const uint8_t* a = src_ + candidate;
    const uint8_t* b = src_ + p;
    const uint32_t maxLength = uint32_t(std::min<size_t>(COComp::kMaxMatch, n_ - p));
    if (a[0] != b[0] || a[1] != b[1] || a[2] != b[2]) return match;
    if (distance > kShortDistance && (maxLength < 4 || a[3] != b[3])) return match;
    // A candidate further back that cannot be longer than the best cannot score higher.
    if (bestLength >= 3 && bestLength < maxLength && a[bestLength] != b[bestLength]) return match;

    uint32_t length = 3;
    while (length + 8 <= maxLength) {
        uint64_t x, y;
        std::memcpy(&x, a + length, 8);
        std::memcpy(&y, b + length, 8);
        if (x != y) {
            length += uint32_t(__builtin_ctzll(x ^ y) >> 3); // little-endian byte order
            match.length = length;
            break;
        }
        length += 8;
    }
    if (!match.length) {
        while (length < maxLength && a[length] == b[length]) ++length;
        match.length = length;
    }
    match.distance = uint32_t(distance);
    match.score = int(match.length) - tokenBytes(match.length, match.distance);
    return match;
}

COCompEncoder::Match COCompEncoder::find(size_t p)
{
    Match best;
    const uint32_t maxLength = uint32_t(std::min<size_t>(COComp::kMaxMatch, n_ - p));
    auto consider = [&](size_t candidate) {
        Match m = evaluate(p, candidate, best.length);
        if (m.length && m.score > best.score) best = m;
        return best.length >= maxLength; // nothing can be longer: stop
    };

    if (level_ == 0) {
        const uint32_t slot = heads_[hash3(p)];
        if (slot) best = evaluate(p, slot - 1, 0);
        return best;
    }
    if (level_ == 1) {
        const uint32_t b = bucketHash(p);
        const uint32_t fill = ringFill_[b];
        for (uint32_t k = 1; k <= fill; ++k) {
            const size_t candidate = heads_[b * kBucketDepth + ((ringNext_[b] - k) & (kBucketDepth - 1))];
            if (p - candidate > COComp::kMaxDistance) break; // older ones lie further back
            if (consider(candidate)) break;
        }
        return best;
    }
    uint32_t link = heads_[hash3(p)];
    for (int chain = 0; link && chain < kMaxChain; ++chain) {
        const size_t candidate = link - 1;
        // Links inside the window are never stale: the window is shorter than the link ring.
        if (p - candidate > COComp::kMaxDistance) break;
        if (consider(candidate)) break;
        link = links_[candidate & (kLinks - 1)];
    }
    return best;
}

} // namespace zib::ulvarf
