#include "ulvarf/COCompEncoder.h"

#include "ulvarf/COComp.h"

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
constexpr size_t kStretch = 49152; // the window's length: it spans at most two stretches
constexpr uint32_t kMaxPeriod = 32;  // longest period whose repeats are copied
constexpr size_t kMinRepeat = 32;    // shortest stretch worth copying
static_assert(kMinRepeat >= kMaxPeriod, "a copied stretch holds a whole period");
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
            Match match;
            find(p, match);
            if (!match.length) {
                ++p;
                continue;
            }
            if (level_ > 0) {
                // Look one position ahead; a better match there makes p a
                // literal. A match reaching as far as any can (the longest
                // length, or the end of the input) scores at least what any
                // match a byte shorter can: nothing to look for.
                while (p + 1 < limit && match.length < std::min<size_t>(COComp::kMaxMatch, n_ - p)) {
                    insertUpTo(p + 1);
                    Match ahead;
                    find(p + 1, ahead);
                    if (ahead.score <= match.score) break;
                    ++p;
                    match = ahead;
                }
            }
            putPending(literalsFrom, p - literalsFrom);
            putMatch(match);
            repeatFrom_ = p;
            repeatEnd_ = p + match.length;
            repeatDistance_ = match.distance;
            p += match.length;
            literalsFrom = p;
            if (match.length > kHashLongMatch && p - kHashLongMatch > nextInsert_)
                nextInsert_ = hashedFrom_ = p - kHashLongMatch;
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
        prefixes_ = std::make_unique_for_overwrite<uint64_t[]>(kBuckets * kBucketDepth);
        marks_ = std::make_unique<uint8_t[]>(kBuckets * kBucketDepth);
        ringNext_ = std::make_unique<uint8_t[]>(kBuckets);
        ringFill_ = std::make_unique<uint8_t[]>(kBuckets);
    } else {
        heads_ = std::make_unique<uint32_t[]>(kHashSlots);
        if (level_ == 2) {
            const size_t links = std::min(kLinks, n_);
            links_ = std::make_unique_for_overwrite<uint16_t[]>(links);
            marked_ = n_ > kPlainBlock;
            if (marked_) {
                slotMarks_ = std::make_unique_for_overwrite<SlotMarks[]>(kHashSlots);
                nodeSerials_ = std::make_unique_for_overwrite<uint16_t[]>(links);
            }
        }
    }
}

uint64_t COCompEncoder::prefix(size_t p) const
{
    uint64_t value = 0; // little-endian: byte 0 lowest; bytes past the end 0
    if (p + 8 <= n_) {
        std::memcpy(&value, src_ + p, 8);
        return value;
    }
    for (size_t i = 0; p + i < n_; ++i)
        value |= uint64_t(src_[p + i]) << (8 * i);
    return value;
}

uint8_t COCompEncoder::mark(uint64_t prefix)
{
    const uint32_t three = uint32_t(prefix & 0xFFFFFF);
    return uint8_t((three * 0x9E3779B1u) >> 24);
}

// Bit s set where ring slot s of the bucket carries the mark.
uint32_t COCompEncoder::bucketMatches(uint32_t bucket, uint8_t wanted) const
{
    const uint8_t* marks = marks_.get() + size_t(bucket) * kBucketDepth;
#if defined(__SSE2__)
    const __m128i key = _mm_set1_epi8(char(wanted));
    const uint32_t low = uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(marks)), key)));
    const uint32_t high =
        uint32_t(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(marks + 16)), key)));
    return low | high << 16;
#else
    uint32_t bits = 0;
    for (uint32_t s = 0; s < kBucketDepth; ++s)
        if (marks[s] == wanted) bits |= 1u << s;
    return bits;
#endif
}

uint32_t COCompEncoder::mark6(uint64_t prefix)
{
    return (uint32_t(prefix & 0xFFFFFF) * 0x2545F491u) >> 26; // six bits
}

uint32_t COCompEncoder::tierHash(uint64_t prefix, int bytes)
{
    const uint64_t kept = prefix & ((uint64_t(1) << (8 * bytes)) - 1);
    return uint32_t((kept * 0x9E3779B97F4A7C15ull) >> (64 - kTierBits));
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
    if (level_ == 0) {
        for (; nextInsert_ < end; ++nextInsert_) heads_[hash3(nextInsert_)] = uint32_t(nextInsert_ + 1);
    } else if (level_ == 1) {
        for (; nextInsert_ < end; ++nextInsert_) insertInBucket(nextInsert_);
    } else {
        while (nextInsert_ < end) {
            // A position inside a repeat of a short period takes the entries
            // of the one a period back, when the period before that is
            // entered too and both periods' first eight bytes repeat. A
            // stretch copied at once stops where the tiers are weighed and
            // where the marks change stretch.
            const uint32_t d = repeatDistance_;
            if (d && d <= kMaxPeriod && repeatEnd_ >= repeatFrom_ + 8) {
                const size_t copyFrom = std::max(repeatFrom_, hashedFrom_ + d) + d;
                size_t copyEnd = std::min(end, repeatEnd_ - 7);
                if (marked_) {
                    copyEnd = std::min(copyEnd, nextInsert_ + (kEpoch - epochFill_));
                    copyEnd = std::min(copyEnd, (nextInsert_ / kStretch + 1) * kStretch);
                }
                if (nextInsert_ >= copyFrom && nextInsert_ + kMinRepeat <= copyEnd) {
                    insertRepeat(copyEnd);
                    continue;
                }
            }
            insertInChains(nextInsert_++);
        }
    }
}

// Enters the positions [nextInsert_, stop), at least a period of them, as
// copies of the positions one period back (see insertUpTo). Per phase of
// the period the chains' links repeat; each slot numbers its positions on,
// the phases of one slot in turn.
void COCompEncoder::insertRepeat(size_t stop)
{
    const uint32_t d = repeatDistance_;
    const size_t from = nextInsert_;
    uint32_t slot[kMaxPeriod];
    for (uint32_t k = 0; k < d; ++k) slot[k] = hash3(from - d + k);
    for (uint32_t k = 0; k < d; ++k) {
        const size_t before = (from - d + k) & (kLinks - 1);
        const uint16_t link = links_[before];
        for (size_t q = from + k; q < stop; q += d) links_[q & (kLinks - 1)] = link;
        if (!marked_) continue;
        uint16_t serial = slotMarks_[slot[k]].serial;
        uint16_t step = 0;
        for (uint32_t j = 0; j < d; ++j) {
            if (slot[j] != slot[k]) continue;
            ++step;
            if (j < k) ++serial;
        }
        for (size_t q = from + k; q < stop; q += d, serial = uint16_t(serial + step))
            nodeSerials_[q & (kLinks - 1)] = serial;
        if (tiersOn_) {
            for (int t = 0; t < kTiers; ++t) {
                uint16_t* links = tierLinks_.get() + size_t(t) * kLinks;
                const uint16_t tierLink = links[before];
                for (size_t q = from + k; q < stop; q += d) links[q & (kLinks - 1)] = tierLink;
            }
        }
    }
    // The newest position of each phase heads its chains and marks its
    // three bytes (the stretch holds one stretch of marks).
    for (size_t q = stop - d; q < stop; ++q) {
        const uint32_t h = slot[(q - from) % d];
        heads_[h] = uint32_t(q + 1);
        if (!marked_) continue;
        const uint64_t bytes = prefix(q);
        SlotMarks& marks = slotMarks_[h];
        const uint8_t stretch = uint8_t(q / kStretch);
        const size_t k = stretch & 1;
        if (marks.stretch[k] != stretch) marks.stretch[k] = stretch, marks.marks[k] = 0;
        marks.marks[k] |= uint64_t(1) << mark6(bytes);
        if (tiersOn_) {
            for (int t = 0; t < kTiers; ++t)
                tierHeads_[(size_t(t) << kTierBits) + tierHash(bytes, kTierBytes[t])] = uint32_t(q + 1);
        }
    }
    if (marked_) {
        for (uint32_t k = 0; k < d; ++k)
            slotMarks_[slot[k]].serial = uint16_t(slotMarks_[slot[k]].serial + (stop - from - k + d - 1) / d);
        if (tiersOn_) tiersTo_ = stop;
        epochFill_ += stop - from;
        if (epochFill_ == kEpoch) weighTiers(stop);
    }
    nextInsert_ = stop;
}

void COCompEncoder::insertInBucket(size_t p)
{
    const uint32_t b = bucketHash(p);
    const uint64_t bytes = prefix(p);
    heads_[b * kBucketDepth + ringNext_[b]] = uint32_t(p);
    prefixes_[b * kBucketDepth + ringNext_[b]] = bytes;
    marks_[b * kBucketDepth + ringNext_[b]] = mark(bytes);
    ringNext_[b] = uint8_t((ringNext_[b] + 1) & (kBucketDepth - 1));
    if (ringFill_[b] < kBucketDepth) ++ringFill_[b];
}

void COCompEncoder::insertInChains(size_t p)
{
    const uint32_t h = hash3(p);
    enterInChains(p, h, heads_[h], prefix(p));
}

// Enters p, of three-byte hash h and first bytes `bytes`, in front of `head`, the newest position of its slot.
void COCompEncoder::enterInChains(size_t p, uint32_t h, uint32_t head, uint64_t bytes)
{
    links_[p & (kLinks - 1)] = linkBack(p, head);
    heads_[h] = uint32_t(p + 1);
    if (!marked_) return;
    // The slots are read in no order: fetch the one of a position a
    // little further on while this one is entered.
    constexpr size_t kAhead = 16;
    if (p + kAhead + 8 <= n_) {
        const uint32_t later = hash3(p + kAhead);
        __builtin_prefetch(&heads_[later]);
        __builtin_prefetch(&slotMarks_[later]);
    }
    SlotMarks& slot = slotMarks_[h];
    if (!head) slot = SlotMarks{{0, 0}, 0, {0, 0}};
    nodeSerials_[p & (kLinks - 1)] = slot.serial++;
    const uint8_t stretch = uint8_t(p / kStretch);
    const size_t k = stretch & 1;
    if (slot.stretch[k] != stretch) slot.stretch[k] = stretch, slot.marks[k] = 0;
    slot.marks[k] |= uint64_t(1) << mark6(bytes);
    if (tiersOn_) insertInTiers(p);
    if (++epochFill_ == kEpoch) weighTiers(p + 1);
}

void COCompEncoder::insertInTiers(size_t p)
{
    const uint64_t bytes = prefix(p);
    const size_t at = p & (kLinks - 1);
    for (int t = 0; t < kTiers; ++t) {
        uint32_t& head = tierHeads_[(size_t(t) << kTierBits) + tierHash(bytes, kTierBytes[t])];
        tierLinks_[size_t(t) * kLinks + at] = linkBack(p, head);
        head = uint32_t(p + 1);
    }
    tiersTo_ = p + 1;
}

// The tiers pay for themselves where candidates share many bytes (pattern
// data) and cost more than they save where they do not (incompressible
// data). Each stretch of kEpoch positions weighs the walks that a tier
// would have shortened, or the tier walks taken, and switches the tiers on
// or off. Switched on, they take in the positions of the window first, so
// a tier chain holds every position of its prefix that the three-byte
// chain holds. Either way the same candidates are scored.
void COCompEncoder::weighTiers(size_t hashedTo)
{
    if (!tiersOn_ && tierWanted_ > kEpoch / 2 && n_ - hashedTo >= kEpoch) {
        tiersOn_ = true;
        if (!tierHeads_) {
            tierHeads_ = std::make_unique<uint32_t[]>(size_t(kTiers) << kTierBits);
            tierLinks_ = std::make_unique_for_overwrite<uint16_t[]>(size_t(kTiers) * kLinks);
        }
        size_t from = std::max(tiersTo_, hashedFrom_);
        if (hashedTo > COComp::kMaxDistance + 1) from = std::max(from, hashedTo - COComp::kMaxDistance - 1);
        for (size_t q = from; q < hashedTo; ++q) insertInTiers(q);
    } else if (tiersOn_ && tierWanted_ < kEpoch / 16) {
        tiersOn_ = false;
    }
    epochFill_ = 0;
    tierWanted_ = 0;
}

// A link is kept as the distance back to the previous position of its
// chain: 0 when there is none or it lies further back than any window.
uint16_t COCompEncoder::linkBack(size_t p, uint32_t head)
{
    if (!head || p - (head - 1) > 0xFFFF) return 0;
    return uint16_t(p - (head - 1));
}

int COCompEncoder::tokenBytes(uint32_t length, uint32_t distance)
{
    if (distance <= kShortDistance && length <= 8) return 2;
    if (distance <= kNearDistance) return length <= 33 ? 3 : length <= 289 ? 4 : 5;
    return length <= 9 ? 3 : length <= 265 ? 4 : 5;
}

// The bytes a and b share, known to share their first `length`, up to maxLength.
static uint32_t extend(const uint8_t* a, const uint8_t* b, uint32_t length, uint32_t maxLength)
{
    while (length + 8 <= maxLength) {
        uint64_t x, y;
        std::memcpy(&x, a + length, 8);
        std::memcpy(&y, b + length, 8);
        if (x != y) return length + uint32_t(__builtin_ctzll(x ^ y) >> 3); // little-endian byte order
        length += 8;
    }
    while (length < maxLength && a[length] == b[length]) ++length;
    return length;
}

uint32_t COCompEncoder::matchLength(size_t p, size_t candidate, uint32_t bestLength) const
{
    const size_t distance = p - candidate;
    if (distance == 0 || distance > COComp::kMaxDistance) return 0;
    const uint8_t* a = src_ + candidate;
    const uint8_t* b = src_ + p;
    const uint32_t maxLength = uint32_t(std::min<size_t>(COComp::kMaxMatch, n_ - p));
    if (a[0] != b[0] || a[1] != b[1] || a[2] != b[2]) return 0;
    if (distance > kShortDistance && (maxLength < 4 || a[3] != b[3])) return 0;
    // A candidate further back that cannot be longer than the best cannot score higher.
    if (bestLength >= 3 && bestLength < maxLength && a[bestLength] != b[bestLength]) return 0;

    return extend(a, b, 3, maxLength);
}

// The bytes two prefixes share from their start (8 when all do).
static uint32_t sharedBytes(uint64_t a, uint64_t b)
{
    const uint64_t x = a ^ b;
    return x ? uint32_t(__builtin_ctzll(x) >> 3) : 8;
}

// A candidate sharing fewer than three bytes is no match; one that shares
// fewer than eight is exactly that long and wins only when longer than the best.
static bool cannotWin(uint32_t shared, uint32_t bestLength)
{
    return shared < 3 || (shared < 8 && shared <= bestLength);
}

// The length of the match with a candidate in the window that shares
// `shared` (3 to 8) of its first eight bytes with p and is not passed over
// by cannotWin; 0 when it is no match or cannot beat `bestLength`. The same
// as matchLength, without measuring again what the shared bytes tell.
inline uint32_t COCompEncoder::lengthFrom(size_t p, size_t candidate, uint32_t shared, uint32_t bestLength) const
{
    // A candidate further back than the short distances needs four bytes
    // (the block has 13 or more after p).
    if (p - candidate > kShortDistance && shared < 4) return 0;
    if (shared < 8) return shared; // longer than the best: cannotWin passed it
    const uint8_t* a = src_ + candidate;
    const uint8_t* b = src_ + p;
    const uint32_t maxLength = uint32_t(std::min<size_t>(COComp::kMaxMatch, n_ - p));
    if (bestLength >= 8 && bestLength < maxLength && a[bestLength] != b[bestLength]) return 0;
    return extend(a, b, 8, maxLength);
}

// Keeps the candidate when it scores higher than the best so far (on a tie the newer one stays).
void COCompEncoder::keepBetter(Match& best, uint32_t length, size_t distance)
{
    if (!length) return;
    const int score = int(length) - tokenBytes(length, uint32_t(distance));
    if (score > best.score) best = {length, uint32_t(distance), score};
}

void COCompEncoder::find(size_t p, Match& best)
{
    if (level_ == 0) {
        const uint32_t slot = heads_[hash3(p)];
        if (slot) keepBetter(best, matchLength(p, slot - 1, 0), p - (slot - 1));
        return;
    }
    if (level_ == 1) {
        // The ring's entries newest first: with the ring turned so that the
        // newest entry is bit 31, the next older bit 30 ... Only entries with
        // the current position's mark can share its first three bytes.
        const uint64_t here = prefix(p);
        const uint32_t b = bucketHash(p);
        const uint32_t next = ringNext_[b];
        const uint32_t fill = ringFill_[b];
        if (!fill) return;
        const uint32_t maxLength = uint32_t(std::min<size_t>(COComp::kMaxMatch, n_ - p));
        uint32_t bits = std::rotr(bucketMatches(b, mark(here)), int(next));
        if (fill < kBucketDepth) bits &= ~((1u << (kBucketDepth - fill)) - 1); // the slots not filled yet
        while (bits) {
            const int j = 31 - std::countl_zero(bits);
            bits &= ~(1u << j);
            const size_t slot = b * kBucketDepth + ((next + uint32_t(j)) & (kBucketDepth - 1));
            const size_t candidate = heads_[slot];
            if (p - candidate > COComp::kMaxDistance) break; // older ones lie further back
            const uint32_t shared = sharedBytes(prefixes_[slot], here);
            if (cannotWin(shared, best.length)) continue;
            keepBetter(best, matchLength(p, candidate, best.length), p - candidate);
            if (best.length >= maxLength) break; // nothing can be longer: stop
        }
        return;
    }
    // The search comes to every position just after its predecessors have
    // been entered: it enters this one too, with what it has read.
    const uint32_t h = hash3(p);
    const uint64_t here = prefix(p);
    const uint32_t head = heads_[h];
    if (head && !marked_) {
        findInPlainChain(p, head, here, best);
    } else if (head && mayShareThree(p, h, here)) {
        if (tiersOn_)
            findInTiers(p, h, head, here, best);
        else
            tierWanted_ += findInPlainChain(p, head, here, best);
    }
    if (nextInsert_ == p) {
        enterInChains(p, h, head, here);
        nextInsert_ = p + 1;
    }
}

// Every candidate of the three-byte chain, nearest first, up to the 2000th.
// Returns the candidates walked after the first match, which a tier would
// have passed over in part.
size_t COCompEncoder::findInPlainChain(size_t p, uint32_t head, uint64_t here, Match& best)
{
    const uint32_t maxLength = uint32_t(std::min<size_t>(COComp::kMaxMatch, n_ - p));
    size_t candidate = head - 1;
    int hops = 0;
    int firstMatch = -1;
    for (; hops < kMaxChain; ++hops) {
        if (p - candidate > COComp::kMaxDistance) break;
        const uint16_t back = links_[candidate & (kLinks - 1)];
        uint64_t there; // candidate + 8 <= p + 7 < n_
        std::memcpy(&there, src_ + candidate, 8);
        const uint32_t shared = sharedBytes(there, here);
        if (!cannotWin(shared, best.length)) {
            keepBetter(best, lengthFrom(p, candidate, shared, best.length), p - candidate);
            if (best.length >= maxLength) break; // nothing can be longer: stop
            if (firstMatch < 0 && best.length) firstMatch = hops;
        }
        if (!back) break;
        candidate -= back;
    }
    return firstMatch < 0 ? 0 : size_t(hops - firstMatch);
}

// Whether a stretch inside the window holds the mark of p's first three
// bytes in p's slot; when none does, nothing shares those three bytes.
bool COCompEncoder::mayShareThree(size_t p, uint32_t h, uint64_t here) const
{
    const SlotMarks& slot = slotMarks_[h];
    const uint8_t stretch = uint8_t(p / kStretch);
    uint64_t marks = 0;
    for (size_t k = 0; k < 2; ++k)
        if (uint8_t(stretch - slot.stretch[k]) <= 1) marks |= slot.marks[k];
    return marks >> mark6(here) & 1;
}

// The three-byte chain up to the first match, then the tier of the most
// bytes a longer match must share, and so on.
void COCompEncoder::findInTiers(size_t p, uint32_t h, uint32_t head, uint64_t here, Match& best)
{
    const uint32_t maxLength = uint32_t(std::min<size_t>(COComp::kMaxMatch, n_ - p));
    // A position's place in the three-byte chain: the newest one's serial number less its own.
    const uint16_t newest = uint16_t(slotMarks_[h].serial - 1);

    int tier = -1;       // the chain walked: -1 the three-byte hash slot, else a tier
    uint32_t bytes = 3;  // the bytes every candidate of that chain shares with p
    const uint16_t* links = links_.get();
    size_t lastSeen = p; // candidates from here on were seen in a chain of fewer bytes
    int hops = 0;        // in the three-byte chain: the candidate's place
    size_t tierWalk = 0;  // the candidates walked in the tiers
    size_t next = head - 1; // the candidate after this one, while there is one
    bool more = true;
    while (more) {
        const size_t candidate = next;
        const size_t at = candidate & (kLinks - 1);
        // Links inside the window are never stale: the window is shorter than
        // the link ring. One outside it ends the walk unread.
        if (candidate < lastSeen && p - candidate > COComp::kMaxDistance) break;
        const uint16_t back = links[at];
        more = back != 0;
        next = candidate - back;
        if (candidate >= lastSeen) continue;
        uint64_t there; // candidate + 8 <= p + 7 < n_
        std::memcpy(&there, src_ + candidate, 8);
        const uint32_t shared = sharedBytes(there, here);
        if (tier < 0) {
            if (hops++ >= kMaxChain) break;
        } else {
            ++tierWalk;
            if (shared < bytes) continue; // another prefix under the tier's hash
            if (uint16_t(newest - nodeSerials_[at]) >= kMaxChain) break;
        }
        lastSeen = candidate;
        if (cannotWin(shared, best.length)) continue;
        keepBetter(best, lengthFrom(p, candidate, shared, best.length), p - candidate);
        if (best.length >= maxLength) break; // nothing can be longer: stop
        // A longer match shares one byte more than the best: walk the tier
        // of the most bytes that it must share.
        int wanted = tier;
        while (wanted + 1 < kTiers && uint32_t(kTierBytes[wanted + 1]) <= best.length + 1)
            ++wanted;
        if (wanted > tier) {
            tier = wanted;
            bytes = uint32_t(kTierBytes[tier]);
            links = tierLinks_.get() + size_t(tier) * kLinks;
            const uint32_t first = tierHeads_[(size_t(tier) << kTierBits) + tierHash(here, kTierBytes[tier])];
            more = first != 0;
            next = size_t(first) - 1;
        }
    }
    tierWanted_ += tierWalk;
}

} // namespace zib::ulvarf
