#pragma once

#include "ulvarf/TraceMessage.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace zib::test {

// Collects the library's trace texts while it lives.
class TraceCapture {
public:
    TraceCapture() { previous_ = zib::ulvarf::SetTraceTarget({&TraceCapture::sink, this}); }
    ~TraceCapture() { zib::ulvarf::SetTraceTarget(previous_); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    const std::vector<std::string>& texts() const { return texts_; }
    bool contains(std::string_view text) const
    {
        return std::find(texts_.begin(), texts_.end(), text) != texts_.end();
    }

private:
    static void sink(const char* text, void* self) { static_cast<TraceCapture*>(self)->texts_.emplace_back(text); }

    zib::ulvarf::TraceTarget previous_;
    std::vector<std::string> texts_;
};

} // namespace zib::test
