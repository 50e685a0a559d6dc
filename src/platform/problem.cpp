#include "platform/problem.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace qv {
namespace {

// Atomic: the sink is set during start-up, possibly while a thread reports.
std::atomic<ProblemSink> Sink{nullptr};

}  // namespace

ProblemSink SetProblemSink(ProblemSink sink) {
    return Sink.exchange(sink);
}

void ReportProblem(const char* format, ...) {
    const ProblemSink sink = Sink.load();
    if (sink == nullptr) return;
    char line[1024];
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    sink(line);
}

}  // namespace qv
