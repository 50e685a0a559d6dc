// How the platform layer tells of a failure it met and worked around (a file
// that cannot be read, a lock that stayed taken): one line for the program's
// log. The log is written by a layer above this one, which hands its writer
// down here as the sink; the platform never reaches up for it. Without a sink
// (a program or test that links no log) the lines are dropped.
#pragma once

namespace qv {

using ProblemSink = void (*)(const char* line);

// Sets where ReportProblem sends its lines (null drops them) and gives the
// sink it replaces, so that one who listens for a while can hand back.
ProblemSink SetProblemSink(ProblemSink sink);

// Formats one line (cut at 1023 bytes) and hands it to the sink.
void ReportProblem(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace qv
