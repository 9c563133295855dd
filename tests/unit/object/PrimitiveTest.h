#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Captured.h"
#include "object/BasicObject.h"
#include "text/LogoString.h"

// Starts every primitive test with an empty capture and the step length the
// program has before a font is prepared, and gives FacetLengthGlobal back as
// the test found it.
class PrimitiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        captured::Restart();
        savedStep = FacetLengthGlobal;
        FacetLengthGlobal = 1.0f;
    }
    void TearDown() override { FacetLengthGlobal = savedStep; }

private:
    float savedStep = 1.0f;
};

inline void Place(BasicObject& object, const Vector3& position, float width, float height, float depth) {
    object.position = position;
    object.width = width;
    object.height = height;
    object.depth = depth;
}

// Mode and vertex count of every glBegin/glEnd pair, in order.
struct PrimitiveSize {
    unsigned mode;
    std::size_t vertices;
};
inline std::vector<PrimitiveSize> PrimitiveSizes() {
    std::vector<PrimitiveSize> out;
    for (const captured::Primitive& p : captured::Primitives()) out.push_back({p.mode, p.vertices.size()});
    return out;
}
