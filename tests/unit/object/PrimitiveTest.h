#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "RecordingGL.h"
#include "object/BasicObject.h"
#include "text/LogoString.h"

// Starts every primitive test with an empty recording and the step length the
// program has before a font is prepared, and gives FacetLengthGlobal back as
// the test found it.
class PrimitiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        gl_record::Reset();
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

inline bool AnyNaN(const std::vector<gl_record::Call>& calls) {
    for (const auto& call : calls)
        for (double a : call.args)
            if (std::isnan(a)) return true;
    return false;
}

// Mode and vertex count of every glBegin/glEnd pair, in order.
struct PrimitiveSize {
    unsigned mode;
    int vertices;
};
inline std::vector<PrimitiveSize> PrimitiveSizes(const std::vector<gl_record::Call>& calls) {
    std::vector<PrimitiveSize> out;
    for (const auto& call : calls) {
        if (call.name == "glBegin") out.push_back({static_cast<unsigned>(call.args[0]), 0});
        else if (call.name == "glVertex3f" && !out.empty()) ++out.back().vertices;
    }
    return out;
}
