// The solid path on shapes whose answer is known: closed boxes, a box with
// an open seam, two overlapping boxes, and groups that must not overlap.

#include <gtest/gtest.h>

#include "SolidShapes.h"
#include "Solidify.h"

namespace {

TEST(Solidify, ShapesBecomeClosedOutwardShellsOfTheirVolume) {
    struct Case {
        const char* name;
        std::vector<TriangleCorners> triangles;
        double volume;
        std::size_t shells;
    };
    std::vector<TriangleCorners> overlapping = box({0, 0, 0}, {4, 2, 2});
    for (const auto& t : box({2, 1, 1}, {6, 3, 3})) overlapping.push_back(t);
    std::vector<TriangleCorners> apart = box({0, 0, 0}, {2, 2, 2});
    for (const auto& t : box({4, 0, 0}, {6, 2, 2})) apart.push_back(t);
    // A box whose +x face stops 0.05 short of its edges: a seam all round.
    std::vector<TriangleCorners> seamed = box({0, 0, 0}, {4, 2, 2}, {1});
    for (const auto& t : box({4, 0.05f, 0.05f}, {4, 1.95f, 1.95f}, {0, 2, 3, 4, 5})) seamed.push_back(t);
    const Case cases[] = {
        {"box", box({0, 0, 0}, {4, 2, 2}), 16.0, 1},
        {"seamed box", seamed, 16.0, 1},
        {"overlapping boxes", overlapping, 16.0 + 16.0 - 2.0, 1},
        {"boxes apart", apart, 16.0, 2},
    };
    SolidifyOptions options;
    for (const Case& c : cases) {
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
