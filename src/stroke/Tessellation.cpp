#include "stroke/Tessellation.h"

#include <cmath>

int BoundedCount(double value) {
    if (std::isnan(value)) return 0;
    if (value >= kMaxTessellationCount) return kMaxTessellationCount;
    if (value <= -kMaxTessellationCount) return -kMaxTessellationCount;
    return static_cast<int>(value);
}
