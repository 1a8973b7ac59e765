#pragma once

namespace zib::ulvarf {

// Receives every diagnostic text of the library, formed as
// "Class::Method() - message". The context is the one given with the sink.
using TraceSink = void (*)(const char* text, void* context);

// The sink in use and its context.
struct TraceTarget {
    TraceSink sink = nullptr;
    void* context = nullptr;
};

// Formats the arguments printf-style into the library-wide trace buffer and
// hands the text to the sink; returns the number of characters written (cut
// to the buffer). Without a sink, the default, the text goes nowhere.
int TraceMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Installs a sink (a null sink switches tracing off) and returns the one it
// replaces, so a caller can put it back.
TraceTarget SetTraceTarget(TraceTarget target);

} // namespace zib::ulvarf
