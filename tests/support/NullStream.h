#pragma once

#include <ostream>
#include <streambuf>

namespace zib::test {

// An output stream that drops what it is given: a log that is switched on,
// so every line is formatted and written, but kept nowhere. Header-only, so
// the benchmarks and the fuzz targets use it without the test library.
class NullStream : public std::ostream {
public:
    NullStream() : std::ostream(nullptr) { rdbuf(&m_buffer); }
    NullStream(const NullStream&) = delete;
    NullStream& operator=(const NullStream&) = delete;

private:
    class Buffer : public std::streambuf {
    protected:
        int overflow(int c) override { return c; }
        std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    };
    Buffer m_buffer;
};

} // namespace zib::test
