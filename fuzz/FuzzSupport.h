#pragma once

// What every fuzz target shares: the input as a stream, and the check that
// the drawing code, run against the capture layer in place of GL, issued
// nothing a real GL would reject.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "capture/Capture.h"
#include "stroke/Tessellation.h"

namespace fuzz {

// The draw budget of one input. Each curve in at most 8 steps, each chain
// of rings in at most 1024 vertices: every stroke kind, section shape, cap
// and primitive is still drawn, through the same code, only coarser, and a
// run takes milliseconds instead of up to seconds. LOGO3D_FUZZ_MAX_COUNT sets
// another step limit (4096 is the program's own) for a run that wants the
// full counts; the vertex limit follows it.
inline void UseDrawBudget() {
    static const DrawBudget budget = [] {
        DrawBudget made;
        made.maxCount = 8;
        if (const char* value = std::getenv("LOGO3D_FUZZ_MAX_COUNT")) made.maxCount = std::atoi(value);
        if (made.maxCount < 1 || made.maxCount > kMaxTessellationCount) made.maxCount = kMaxTessellationCount;
        made.maxSweepVertices = static_cast<int>(
            std::min<long>(DrawBudget().maxSweepVertices, 128L * made.maxCount));
        return made;
    }();
    SetDrawBudget(budget);
}

inline std::istringstream InputStream(const std::uint8_t* data, std::size_t size) {
    return std::istringstream(std::string(reinterpret_cast<const char*>(data), size));
}

// Aborts, which libFuzzer reports as a finding, when the GL calls since the
// last capture::Reset held a non-finite number, left a primitive, a list or
// a matrix open, or misused GL in any other way the capture layer counts.
// Then forgets the drawing: a run that frees all it allocated is not run
// again by libFuzzer's search for leaks, which doubled the cost of a run.
inline void RequireSoundGL(const char* what) {
    const capture::ProblemCounts problems = capture::Problems();
    if (problems.Total() == 0) {
        capture::Reset();
        return;
    }
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
