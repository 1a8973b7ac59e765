#include "tests/support/PlainChainEncoder.h"

#include <algorithm>
#include <optional>

namespace zib::test {

namespace {

constexpr size_t kSlots = 16384;
constexpr int kCandidates = 2000;
constexpr size_t kWindow = 49152;
constexpr size_t kLongest = 65535;
constexpr size_t kHashedAfterLongMatch = 49151;

struct Match {
    size_t length = 0;
    size_t distance = 0;
    int score = 0;
};

int tokenBytes(size_t length, size_t distance)
{
    if (distance <= 2048 && length <= 8) return 2;
    if (distance <= 16384) return length <= 33 ? 3 : length <= 289 ? 4 : 5;
    return length <= 9 ? 3 : length <= 265 ? 4 : 5;
}

class PlainEncoder {
public:
    explicit PlainEncoder(std::span<const uint8_t> input) : in_(input), previous_(input.size(), -1) {}

    std::vector<uint8_t> Run()
    {
        const size_t n = in_.size();
        out_ = {'O', 'C', '3', '2'};
        for (int i = 0; i < 4; ++i) out_.push_back(uint8_t(n >> (8 * i)));
        if (n <= 17) {
            literals(0, n);
        } else {
            const size_t limit = n - 13;
            size_t p = 0;
            size_t pending = 0; // literals start here
            while (p < limit) {
                hashUpTo(p);
                Match match = find(p);
                if (!match.length) {
                    ++p;
                    continue;
                }
                while (p + 1 < limit) {
                    hashUpTo(p + 1);
                    const Match ahead = find(p + 1);
                    if (ahead.score <= match.score) break;
                    ++p;
                    match = ahead;
                }
                if (p - pending >= 1 && p - pending <= 3 && lastOffset_) {
                    out_[*lastOffset_] |= uint8_t(p - pending);
                    out_.insert(out_.end(), in_.begin() + ptrdiff_t(pending), in_.begin() + ptrdiff_t(p));
                } else {
                    literals(pending, p - pending);
                }
                token(match);
                p += match.length;
                pending = p;
                if (match.length > kHashedAfterLongMatch) hashed_ = std::max(hashed_, p - kHashedAfterLongMatch);
            }
            literals(pending, n - pending);
        }
        out_.insert(out_.end(), {1, 0, 0});
        uint8_t x = 0;
        for (uint8_t b : in_) x ^= b;
        out_.push_back(x);
        return out_;
    }

private:
    size_t slotOf(size_t p) const
    {
        const uint32_t b0 = in_[p], b1 = in_[p + 1], b2 = in_[p + 2];
        return (((((b2 << 6) ^ b1) << 5) ^ b0) * 33 >> 5) & (kSlots - 1);
    }

    void hashUpTo(size_t end)
    {
        for (; hashed_ < std::min(end + 1, in_.size() - 2); ++hashed_) {
            const size_t slot = slotOf(hashed_);
            previous_[hashed_] = newest_[slot];
            newest_[slot] = int64_t(hashed_);
        }
    }

    // Hashes p itself as well: the candidates are the positions before it.
    Match find(size_t p)
    {
        Match best;
        const size_t longest = std::min(kLongest, in_.size() - p);
        int64_t candidate = previous_[p];
        for (int i = 0; i < kCandidates && candidate >= 0; ++i, candidate = previous_[size_t(candidate)]) {
            const size_t c = size_t(candidate);
            const size_t distance = p - c;
            if (distance > kWindow) break;
            // Further back, only a longer match can score higher.
            if (best.length && best.length < longest && in_[c + best.length] != in_[p + best.length]) continue;
            size_t length = 0;
            while (length < longest && in_[c + length] == in_[p + length]) ++length;
            if (length < 3 || (length < 4 && distance > 2048)) continue;
            const int score = int(length) - tokenBytes(length, distance);
            if (score > best.score) best = {length, distance, score};
            if (best.length >= longest) break;
        }
        return best;
    }

    void literals(size_t from, size_t count)
    {
        lastOffset_.reset();
        while (count > 65535) {
            out_.insert(out_.end(), {1, 0xFF, 0xFC});
            out_.insert(out_.end(), in_.begin() + ptrdiff_t(from), in_.begin() + ptrdiff_t(from + 65532));
            from += 65532;
            count -= 65532;
        }
        if (count == 0) return;
        if (count <= 3 || count >= 272)
            out_.insert(out_.end(), {1, uint8_t(count >> 8), uint8_t(count)});
        else if (count <= 17)
            out_.push_back(uint8_t(count - 2));
        else
            out_.insert(out_.end(), {0, uint8_t(count - 18)});
        out_.insert(out_.end(), in_.begin() + ptrdiff_t(from), in_.begin() + ptrdiff_t(from + count));
    }

    void token(const Match& m)
    {
        const size_t l = m.length, d = m.distance;
        size_t field = d - 1;
        if (l <= 8 && d <= 2048) {
            out_.push_back(uint8_t(((l - 1) << 5) | (field >> 6)));
        } else {
            uint8_t form = 32;
            size_t shortest = 33, byteLength = 289, base = 34;
            if (d > 16384) {
                form = d > 32768 ? 24 : 16;
                field = d - (d > 32768 ? 32769 : 16385);
                shortest = 9, byteLength = 265, base = 10;
            }
            if (l <= shortest)
                out_.push_back(uint8_t(form + l - 2));
            else if (l <= byteLength)
                out_.insert(out_.end(), {form, uint8_t(l - base)});
            else
                out_.insert(out_.end(), {uint8_t(form + 1), uint8_t(l >> 8), uint8_t(l)});
            out_.push_back(uint8_t(field >> 6));
        }
        lastOffset_ = out_.size();
        out_.push_back(uint8_t((field & 63) << 2));
    }

    std::span<const uint8_t> in_;
    std::vector<int64_t> previous_; // per hashed position: the one before it in its slot, or -1
    std::vector<int64_t> newest_ = std::vector<int64_t>(kSlots, -1);
    size_t hashed_ = 0;             // positions before this one are hashed (or skipped)
    std::vector<uint8_t> out_;
    std::optional<size_t> lastOffset_;
};

} // namespace

std::vector<uint8_t> encodeWithPlainChains(std::span<const uint8_t> input)
{
    return PlainEncoder(input).Run();
}

} // namespace zib::test
