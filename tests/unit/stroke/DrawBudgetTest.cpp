// A lowered draw budget (what the fuzz targets draw under) bounds every
// count and chain of rings by its own limits, and still draws every shape
// with every cap through the same primitives, only with fewer vertices, as
// soundly as the full budget does.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

#include "Captured.h"
#include "SweepRecording.h"
#include "stroke/CircleStroke.h"
#include "stroke/SweepBudget.h"
#include "stroke/Tessellation.h"

namespace {

// Sets a budget for the test's lifetime and puts the program's back.
struct BudgetScope {
    explicit BudgetScope(int maxCount, int maxSweepVertices) {
        DrawBudget budget;
        budget.maxCount = maxCount;
        budget.maxSweepVertices = maxSweepVertices;
        SetDrawBudget(budget);
    }
    ~BudgetScope() { SetDrawBudget(DrawBudget()); }
};

TEST(DrawBudget, EveryCountKeepsToTheBudgetInForce) {
    struct Case {
        int maxCount, maxSweepVertices;  // as set
        int count, vertices;             // as in force
    };
    const Case cases[] = {
        {1, 1, 1, 1}, {8, 1024, 8, 1024}, {64, 8192, 64, 8192}, {0, -5, 1, 1},
        {kMaxTessellationCount, kMaxSweepVertices, kMaxTessellationCount, kMaxSweepVertices},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.maxCount) + " steps, " + std::to_string(c.maxSweepVertices) + " vertices");
        const BudgetScope scope(c.maxCount, c.maxSweepVertices);
        EXPECT_EQ(BoundedCount(1e30), c.count);
        EXPECT_EQ(BoundedCount(-1e30), -c.count);
        EXPECT_EQ(BoundedCount(0.5), 0);
        EXPECT_EQ(ArcSegmentCount(1e6f, static_cast<float>(M_PI), 0.1f), c.count);
        for (unsigned points : {1u, 7u, 40u, 4096u, 1u << 31}) {
            const long rings = MaxRings(points);
            EXPECT_GE(rings, 1);
            if (rings > 1) {
                EXPECT_LE(rings * points, static_cast<long>(c.vertices)) << points << " points";
            }
        }
    }
    EXPECT_EQ(BoundedCount(1e30), kMaxTessellationCount);  // the program's own budget is back
}

// The modes of the primitives drawn, the number of vertices in all, and the
// first face lit from inside (empty when there is none).
struct Drawn {
    std::set<unsigned> modes;
    std::size_t vertices = 0;
    std::string windingFault;
};

Drawn DrawCapped(int shape, int cap) {
    StyledStroke styled(Origin, Vector3(40, 0, 0));
    styled.set.strokeWidth = 6.0f;
    styled.set.strokeHeight = 6.0f;
    styled.set.facetLength = 0.25f;  // fine enough that the full budget draws many rings
    styled.set.sectionSegments = 24;
    styled.set.sectionParameter = shape == 2 || shape == 8 ? 0.6f : 1.0f;
    styled.set.sectionParameter2 = 1.0f;
    styled.set.sectionShape = shape;
    captured::Restart();
    const Stroke& stroke = *styled.stroke;
    Section a, b;
    stroke.MakeSection(a, stroke.start, UnitX, 1.0f);
    const unsigned count = stroke.MakeSection(b, stroke.end, UnitX, 1.0f);
    stroke.DrawBand(a, b, UnitX, count);
    stroke.DrawCap(cap, stroke.start, -UnitX, UnitX);
    stroke.DrawCap(cap, stroke.end, UnitX, UnitX);
    EXPECT_TRUE(captured::SoundGL());
    Drawn drawn;
    drawn.windingFault = captured::FirstWindingFault(captured::Faces(), shape == 7 ? -0.1f : -1e-3f);
    for (const RecordedPrimitive& p : RecordedPrimitives()) {
        drawn.modes.insert(p.mode);
        drawn.vertices += p.vertices.size();
    }
    return drawn;
}

TEST(DrawBudget, ALoweredBudgetDrawsEveryShapeAndCapWithTheSamePrimitivesAndFewerVertices) {
    std::size_t fullVertices = 0, coarseVertices = 0;
    for (int shape = 0; shape <= 9; ++shape) {
        for (int cap = 2; cap <= 11; ++cap) {
            SCOPED_TRACE("shape " + std::to_string(shape) + " cap " + std::to_string(cap));
            const Drawn full = DrawCapped(shape, cap);
            Drawn coarse;
            {
                const BudgetScope scope(8, 1024);
                coarse = DrawCapped(shape, cap);
            }
            EXPECT_EQ(coarse.modes, full.modes);
            EXPECT_GT(coarse.vertices, 0u);
            // Shapes of a fixed point count (H, L) and caps within 8 steps
            // draw as many vertices as before; none draws more.
            EXPECT_LE(coarse.vertices, full.vertices);
            // The crescent's tips already face nearly edge-on in a fine cap
            // (see SweepInvariantsTest); in eight steps they turn past it.
            if (full.windingFault.empty() && shape != 7) {
                EXPECT_EQ(coarse.windingFault, "");
            }
            fullVertices += full.vertices;
            coarseVertices += coarse.vertices;
        }
    }
    EXPECT_LT(coarseVertices, fullVertices / 2);
}

}  // namespace
