#pragma once

#include <ostream>
#include <string_view>

namespace zib {

// Where a conversion log goes. The caller opens and owns it.
class IConversionLogSink {
public:
    virtual ~IConversionLogSink() = default;
    virtual void Write(std::string_view text) = 0;
};

// A log sink over an output stream (a log file, or a string in tests).
class COStreamLogSink : public IConversionLogSink {
public:
    explicit COStreamLogSink(std::ostream& out) : out_(out) {}
    void Write(std::string_view text) override { out_.write(text.data(), std::streamsize(text.size())); }

private:
    std::ostream& out_;
};

} // namespace zib
