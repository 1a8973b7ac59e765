#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zib {

// Bounds-checked reader over a byte buffer that it does not own.
// A read that would pass the end returns 0 (or an empty span), leaves the
// position where it was and sets a sticky failure flag; it never reads
// outside the buffer.
class ByteCursor {
public:
    ByteCursor() = default;
    ByteCursor(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}
    explicit ByteCursor(std::span<const uint8_t> bytes) : ByteCursor(bytes.data(), bytes.size()) {}

    // Position and room
    size_t pos() const { return pos_; }
    size_t size() const { return size_; }
    size_t remaining() const { return size_ - pos_; }
    bool has(size_t n) const { return n <= remaining(); }
    bool atEnd() const { return pos_ == size_; }
    bool ok() const { return ok_; }
    bool failed() const { return !ok_; }
    const uint8_t* data() const { return data_; }
    const uint8_t* here() const { return data_ + pos_; }

    bool seek(size_t p) { return p <= size_ ? (pos_ = p, true) : fail(); }
    bool skip(size_t n) { return has(n) ? (pos_ += n, true) : fail(); }

    // A cursor over the next n bytes, advancing past them; empty on failure.
    ByteCursor sub(size_t n) {
        if (!has(n)) { fail(); return ByteCursor(); }
        ByteCursor c(data_ + pos_, n);
        pos_ += n;
        return c;
    }

    // Single values
    uint8_t peek() const { return has(1) ? data_[pos_] : 0; }
    uint8_t u8() { return has(1) ? data_[pos_++] : (fail(), 0); }
    uint16_t u16be() { return uint16_t(readBig(2)); }
    uint32_t u24be() { return readBig(3); }
    uint32_t u32be() { return readBig(4); }
    uint16_t u16le() { return uint16_t(readLittle(2)); }
    uint32_t u32le() { return readLittle(4); }

    // MIDI variable-length number: 1 to 4 bytes, 7 bits each, high group
    // first. A fifth continuation byte or a short buffer is a failure.
    uint32_t varLen() {
        uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i) {
            if (!has(i + 1)) return (fail(), 0);
            uint8_t b = data_[pos_ + i];
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80)) { pos_ += i + 1; return value; }
        }
        return (fail(), 0);
    }

    // The next n bytes; empty span (and failure) when fewer remain.
    std::span<const uint8_t> bytes(size_t n) {
        if (!has(n)) { fail(); return {}; }
        std::span<const uint8_t> s(data_ + pos_, n);
        pos_ += n;
        return s;
    }
    std::string text(size_t n) {
        auto s = bytes(n);
        return std::string(s.begin(), s.end());
    }
    // True when the next bytes equal `tag`; consumes them only then.
    bool match(std::string_view tag) {
        if (!has(tag.size()) || std::string_view(reinterpret_cast<const char*>(here()), tag.size()) != tag)
            return false;
        pos_ += tag.size();
        return true;
    }

private:
    bool fail() { ok_ = false; return false; }
    uint32_t readBig(size_t n) {
        if (!has(n)) return (fail(), 0);
        uint32_t v = 0;
        for (size_t i = 0; i < n; ++i) v = (v << 8) | data_[pos_ + i];
        pos_ += n;
        return v;
    }
    uint32_t readLittle(size_t n) {
        if (!has(n)) return (fail(), 0);
        uint32_t v = 0;
        for (size_t i = n; i-- > 0;) v = (v << 8) | data_[pos_ + i];
        pos_ += n;
        return v;
    }

    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t pos_ = 0;
    bool ok_ = true;
};

// The little-endian 16-bit word at `at`, or 0 when it lies past the end.
inline uint16_t LittleWordAt(std::span<const uint8_t> bytes, size_t at)
{
    return at + 1 < bytes.size() ? uint16_t(bytes[at] | bytes[at + 1] << 8) : 0;
}

} // namespace zib
