#pragma once

// What every fuzz target shares: the input as a stream, and the check that
// the drawing code, run against the capture layer in place of GL, issued
// nothing a real GL would reject.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "capture/Capture.h"

namespace fuzz {

inline std::istringstream InputStream(const std::uint8_t* data, std::size_t size) {
    return std::istringstream(std::string(reinterpret_cast<const char*>(data), size));
}

// Aborts, which libFuzzer reports as a finding, when the GL calls since the
// last capture::Reset held a non-finite number, left a primitive, a list or
// a matrix open, or misused GL in any other way the capture layer counts.
inline void RequireSoundGL(const char* what) {
    const capture::ProblemCounts problems = capture::Problems();
    if (problems.Total() == 0) return;
    std::fprintf(stderr,
                 "%s: unsound GL: %ld non-finite, %ld begin in begin, %ld end without begin, %ld not allowed in "
                 "begin, %ld stack overflows, %ld underflows, %ld nested lists, %ld list ends without list, %ld "
                 "invalid values, %ld too deep; open: %d primitives, %d matrices, %d lists\n",
                 what, problems.nonFinite, problems.beginInsideBegin, problems.endWithoutBegin,
                 problems.notAllowedInsideBegin, problems.stackOverflow, problems.stackUnderflow,
                 problems.newListInsideList, problems.endListWithoutList, problems.invalidValue,
                 problems.nestingTooDeep, problems.openPrimitives, problems.pushedMatrices, problems.openLists);
    std::abort();
}

inline void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace fuzz
