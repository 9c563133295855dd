#pragma once

// Every segment, ring and point count computed from values in a data file goes
// through BoundedCount, so that a huge stroke width, a tiny facet length or an
// absurd segment count can neither hang the program nor exhaust its memory.
// 4096 steps are far beyond what any visible curve needs (a full turn in
// 4096 steps differs from a circle by less than a millionth of its radius).
constexpr int kMaxTessellationCount = 4096;

// value truncated toward zero and kept within ±kMaxTessellationCount; NaN is 0.
int BoundedCount(double value);
