#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

namespace zib {

// Growable byte writer. An optional limit makes it behave like a fixed
// caller buffer: a write that would pass the limit writes nothing and sets a
// sticky failure flag.
class ByteWriter {
public:
    static constexpr uint32_t kMaxVarLen = (1u << 28) - 1;

    ByteWriter() = default;
    explicit ByteWriter(size_t limit) : limit_(limit) {}

    // Content
    const std::vector<uint8_t>& bytes() const { return out_; }
    std::vector<uint8_t> take() { return std::move(out_); }
    const uint8_t* data() const { return out_.data(); }
    size_t size() const { return out_.size(); }
    bool ok() const { return ok_; }
    bool failed() const { return !ok_; }
    void reserve(size_t n) { out_.reserve(n); }
    void clear() { out_.clear(); ok_ = true; }

    // Appending
    bool u8(uint8_t v) { return room(1) && (out_.push_back(v), true); }
    bool u16be(uint16_t v) { return big(v, 2); }
    bool u24be(uint32_t v) { return big(v, 3); }
    bool u32be(uint32_t v) { return big(v, 4); }
    bool u16le(uint16_t v) { return little(v, 2); }
    bool u32le(uint32_t v) { return little(v, 4); }
    bool bytes(std::span<const uint8_t> b) {
        if (!room(b.size())) return false;
        out_.insert(out_.end(), b.begin(), b.end());
        return true;
    }
    bool bytes(const uint8_t* p, size_t n) { return bytes(std::span<const uint8_t>(p, n)); }
    bool text(std::string_view s) { return bytes(reinterpret_cast<const uint8_t*>(s.data()), s.size()); }
    bool fill(uint8_t v, size_t n) {
        if (!room(n)) return false;
        out_.insert(out_.end(), n, v);
        return true;
    }

    // MIDI variable-length number; values of 2^28 or more cannot be encoded.
    bool varLen(uint32_t v) {
        if (v > kMaxVarLen) { ok_ = false; return false; }
        uint8_t tmp[4];
        size_t n = 0;
        tmp[n++] = uint8_t(v & 0x7F);
        while (v >>= 7) tmp[n++] = uint8_t(0x80 | (v & 0x7F));
        if (!room(n)) return false;
        while (n) out_.push_back(tmp[--n]);
        return true;
    }
    static size_t varLenSize(uint32_t v) { return v < 0x80 ? 1 : v < 0x4000 ? 2 : v < 0x200000 ? 3 : 4; }

    // Overwriting what is already written (sizes patched when a chunk closes)
    bool patchU8(size_t at, uint8_t v) { return at < out_.size() ? (out_[at] = v, true) : (ok_ = false); }
    bool patchU32be(size_t at, uint32_t v) {
        if (at > out_.size() || out_.size() - at < 4) return ok_ = false;
        for (int i = 3; i >= 0; --i, v >>= 8) out_[at + size_t(i)] = uint8_t(v);
        return true;
    }

private:
    bool room(size_t n) {
        if (!ok_ || n > limit_ || out_.size() > limit_ - n) return ok_ = false;
        return true;
    }
    bool big(uint32_t v, size_t n) {
        if (!room(n)) return false;
        for (size_t i = n; i-- > 0;) out_.push_back(uint8_t(v >> (8 * i)));
        return true;
    }
    bool little(uint32_t v, size_t n) {
        if (!room(n)) return false;
        for (size_t i = 0; i < n; ++i) out_.push_back(uint8_t(v >> (8 * i)));
        return true;
    }

    std::vector<uint8_t> out_;
    size_t limit_ = std::numeric_limits<size_t>::max();
    bool ok_ = true;
};

} // namespace zib
