#pragma once

#include <cstddef>
#include <cstdint>

namespace zib::ulvarf {

// The stream family the codecs read from and write to. A stream that fails
// keeps an error state until it is cleared.
class CStream {
public:
    virtual ~CStream() = default;

    bool failed() const { return failed_; }
    void ClearError() { failed_ = false; }

protected:
    void SetError() { failed_ = true; }

private:
    bool failed_ = false;
};

// A source of bytes.
class CIn : public CStream {
public:
    // Copies up to n bytes and returns how many were read (fewer at the end).
    virtual size_t Read(uint8_t* dst, size_t n) = 0;
    virtual size_t remaining() const = 0;

    bool ReadByte(uint8_t& byte) { return Read(&byte, 1) == 1; }
};

// A sink of bytes.
class COut : public CStream {
public:
    // Appends n bytes; false (and the error state) when they cannot be stored.
    virtual bool Write(const uint8_t* src, size_t n) = 0;

    bool WriteByte(uint8_t byte) { return Write(&byte, 1); }
};

} // namespace zib::ulvarf
