// The solid path on shapes whose answer is known: closed boxes, a box with
// an open seam, two overlapping boxes, and groups that must not overlap.

#include <gtest/gtest.h>

#include "SolidShapes.h"
#include "Solidify.h"

namespace {

TEST(Solidify, ShapesBecomeClosedOutwardShellsOfTheirVolume) {
    SolidifyOptions options;
    for (const KnownSolid& c : knownSolids()) {
        SCOPED_TRACE(c.name);
        expectClosed(Solidify(c.triangles, options), c.volume, 0.02 * c.volume, c.shells);
    }
}

TEST(Solidify, GroupsTouchWithoutOverlapping) {
    SolidifyOptions options;
    const auto groups = SolidifyGroups({box({0, 0, 0}, {4, 2, 2}), box({2, 0, 0}, {6, 2, 2})}, options);
    ASSERT_EQ(groups.size(), 2u);
    expectClosed(groups[0], 16.0, 0.3, 1);
    expectClosed(groups[1], 8.0, 0.2, 1);  // only what the first does not hold
}

}  // namespace
