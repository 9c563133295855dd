// Properties every swept surface must have, checked over every section shape
// with every cap style: unit normals, finite values, band sizes that match
// their rings, and faces lit from outside (the normals point out of the solid
// and the winding makes that side the front face).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "Captured.h"
#include "SweepRecording.h"

namespace {

// A parameter per shape that gives it its characteristic form (a star that
// really has inner points, a lens, a chamfer).
const float kShapeParameter[10] = {1.0f, 1.0f, 0.5f, 1.0f, 1.0f, 1.0f, 1.5f, 1.0f, 0.6f, 1.0f};

void SetStyle(StyledStroke& styled, int shape, int negated) {
    styled.set.strokeWidth = 2.0f;
    styled.set.strokeHeight = 3.0f;  // a depth stretch of 1.5
    styled.set.facetLength = 0.5f;
    styled.set.sectionSegments = 6;
    styled.set.sectionParameter2 = 1.0f;
    styled.set.sectionShape = shape;
    styled.set.sectionParameter = kShapeParameter[shape];
    styled.set.widthNegated = negated;
}

// What a straight stroke's body does: one band along +X and a cap at each end.
unsigned DrawCappedBody(const Stroke& stroke, int cap) {
    Section a, b;
    stroke.MakeSection(a, stroke.start, UnitX, 1.0f);
    const unsigned count = stroke.MakeSection(b, stroke.end, UnitX, 1.0f);
    stroke.DrawBand(a, b, UnitX, count);
    stroke.DrawCap(cap, stroke.start, -UnitX, UnitX);
    stroke.DrawCap(cap, stroke.end, UnitX, UnitX);
    return count;
}

// Shapes whose every normal points away from the axis: not the H, the L or
// the crescent, whose inner sides face the axis while facing out of the solid.
bool FacesAwayFromAxis(int shape) { return shape != 3 && shape != 4 && shape != 7; }

void ExpectSoundSurfaces(int shape) {
    EXPECT_TRUE(captured::SoundGL());
    // The normals as given, before GL renormalises them.
    for (const capture::Call& n : captured::Calls("glNormal3f"))
        EXPECT_NEAR(std::sqrt(n.args[0] * n.args[0] + n.args[1] * n.args[1] + n.args[2] * n.args[2]), 1.0, 1e-4);
    // The crescent's tips keep their full width whatever the ring's scale, so
    // where a cap's rings shrink, the faces at the tips turn sideways while
    // the cap's normal rule leans their normals along the cap: they end up
    // nearly edge-on to those faces (about 93 degrees with the round cap).
    const float minCosine = shape == 7 ? -0.1f : -1e-3f;
    const std::string fault = captured::FirstWindingFault(captured::Faces(), minCosine);
    EXPECT_TRUE(fault.empty()) << "shape " << shape << ": " << fault;
}

TEST(SweepInvariants, EveryShapeWithEveryCapIsLitFromOutside) {
    for (int negated = 0; negated <= 1; ++negated) {
        for (int shape = 0; shape <= 9; ++shape) {
            for (int cap = 0; cap <= 12; ++cap) {
                SCOPED_TRACE("shape " + std::to_string(shape) + " cap " + std::to_string(cap) + " negated " +
                             std::to_string(negated));
                StyledStroke styled(Origin, Vector3(4, 0, 0));
                SetStyle(styled, shape, negated);
                captured::Restart();
                const unsigned ring = DrawCappedBody(*styled.stroke, cap);
                ExpectSoundSurfaces(shape);
                const std::vector<RecordedPrimitive> primitives = RecordedPrimitives();
                ASSERT_FALSE(primitives.empty());
                EXPECT_EQ(primitives[0].vertices.size(), IsFacetedShape(shape) ? 4 * (ring - 1) : 2 * ring);
                if (!FacesAwayFromAxis(shape) || cap == 8) continue;  // the brush tip bends off the axis
                const float sign = negated ? -1.0f : 1.0f;
                for (const RecordedPrimitive& p : primitives) {
                    for (const RecordedVertex& v : p.vertices) {
                        const Vector3 radial(0, v.position.y, v.position.z);
                        EXPECT_GE(sign * Dot(v.normal, radial), -1e-4f * Length(radial))
                            << "at (" << v.position.x << ", " << v.position.y << ", " << v.position.z << ")";
                    }
                }
            }
        }
    }
}

// Two joined strokes whose bodies meet at the given turn: a fillet, or a
// sideways blend when the bodies are parallel.
TEST(SweepInvariants, JointsAreLitFromOutside) {
    struct Corner {
        Vector3 previousEnd, nextStart, nextDirection;
    };
    const Corner corners[] = {
        {{-2, 0, 0}, {0, 2, 0}, UnitY},                        // left turn
        {{-2, 0, 0}, {0, -2, 0}, -UnitY},                      // right turn
        {{-1, 0, 0}, {3, 1.5f, 0}, UnitX},                     // parallel, offset sideways
        {{-1, 0, 0}, {1, 0.2f, 0}, Normalized({1, 1, 0})},     // short extension, then fillet
    };
    for (int negated = 0; negated <= 1; ++negated) {
        for (int shape = 0; shape <= 9; ++shape) {
            for (const Corner& corner : corners) {
                SCOPED_TRACE("shape " + std::to_string(shape) + " negated " + std::to_string(negated));
                StyledStroke styled(Vector3(-6, 0, 0), Origin);
                LineStroke* next = styled.Append(Origin, corner.nextStart + 4 * corner.nextDirection);
                SetStyle(styled, shape, negated);
                styled.stroke->bodyEnd = corner.previousEnd;
                next->bodyStart = corner.nextStart;
                next->direction = corner.nextDirection;
                captured::Restart();
                next->DrawJoint();
                EXPECT_FALSE(RecordedPrimitives().empty());
                ExpectSoundSurfaces(shape);
            }
        }
    }
}

}  // namespace
