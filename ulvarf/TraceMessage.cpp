#include "ulvarf/TraceMessage.h"

#include <cstdarg>
#include <cstdio>

namespace zib::ulvarf {

namespace {

// The library is used from one thread at a time; each thread still gets its
// own buffer so that a stray second thread cannot tear a text.
thread_local char traceBuffer[1024];
TraceTarget traceTarget;

} // namespace

int TraceMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(traceBuffer, sizeof traceBuffer, format, args);
    va_end(args);
    if (n < 0) {
        traceBuffer[0] = '\0';
        n = 0;
    } else if (n >= int(sizeof traceBuffer)) {
        n = int(sizeof traceBuffer) - 1;
    }
    if (traceTarget.sink) traceTarget.sink(traceBuffer, traceTarget.context);
    return n;
}

TraceTarget SetTraceTarget(TraceTarget target)
{
    TraceTarget previous = traceTarget;
    traceTarget = target;
    return previous;
}

} // namespace zib::ulvarf
