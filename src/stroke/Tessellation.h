#pragma once

// Every segment, ring and point count computed from values in a data file goes
// through BoundedCount, so that a huge stroke width, a tiny facet length or an
// absurd segment count can neither hang the program nor exhaust its memory.
// 4096 steps are far beyond what any visible curve needs (a full turn in
// 4096 steps differs from a circle by less than a millionth of its radius).
constexpr int kMaxTessellationCount = 4096;

// The limits every count and every chain of rings keep to. The defaults are
// the program's; a caller that needs every path of the drawing code taken
// but no smooth surface (a fuzz target, which draws thousands of inputs a
// second) lowers them, and then coarser curves are all that changes.
struct DrawBudget {
    int maxCount = kMaxTessellationCount;  // the most any BoundedCount returns
    int maxSweepVertices = 1 << 18;        // rings x points of one chain of rings
};

const DrawBudget& CurrentDrawBudget();
// Limits below 1 count as 1.
void SetDrawBudget(const DrawBudget& budget);

// value truncated toward zero and kept within ±CurrentDrawBudget().maxCount;
// NaN is 0.
int BoundedCount(double value);
