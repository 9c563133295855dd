#include "stroke/Tessellation.h"

#include <algorithm>
#include <cmath>

namespace {

DrawBudget& budget() {
    static DrawBudget current;
    return current;
}

}  // namespace

const DrawBudget& CurrentDrawBudget() { return budget(); }

void SetDrawBudget(const DrawBudget& limits) {
    budget().maxCount = std::max(1, limits.maxCount);
    budget().maxSweepVertices = std::max(1, limits.maxSweepVertices);
}

int BoundedCount(double value) {
    const int most = budget().maxCount;
    if (std::isnan(value)) return 0;
    if (value >= most) return most;
    if (value <= -most) return -most;
    return static_cast<int>(value);
}
