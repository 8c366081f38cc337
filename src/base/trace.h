// Diagnostic trace points. The fixed trace texts are kept at their call sites so
// that a debugging build can route them somewhere; by default they are discarded.
#pragma once

namespace corvane {

// Swallows a printf-style trace line. Set CORVANE_TRACE=1 to see them on stderr.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace corvane
