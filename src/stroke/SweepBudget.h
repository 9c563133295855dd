#pragma once

#include <algorithm>

#include "stroke/Tessellation.h"

// Bounding each count on its own still lets a ring count and a section's
// point count multiply: 4096 rings of 4096 points would put 16 million
// vertices into one display list, and a few such caps or joints exhaust the
// memory. Every chain of rings (a joint, a cap) therefore also keeps
// rings x points within this budget, far above what a legible logo uses: a
// section of 40 points may still have 6500 rings. (A draw budget may lower
// it: see DrawBudget.)
constexpr int kMaxSweepVertices = DrawBudget().maxSweepVertices;

// The most rings a chain of rings of pointsPerRing points may have.
inline int MaxRings(unsigned pointsPerRing) {
    const DrawBudget& budget = CurrentDrawBudget();
    if (pointsPerRing == 0) return budget.maxCount;
    return std::max(1, budget.maxSweepVertices / static_cast<int>(std::min(pointsPerRing, 1u << 30)));
}

// The same budget for a sphere of n slices and n stacks.
constexpr int kMaxSphereDivisions = 512;
