#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "geometry/Vector3.h"
#include "stroke/Stroke.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

// Strokes owned by the test, drawn in the style of a default font (stroke
// radius 6, facet length 1) unless a test changes it.
class StrokeTest : public ::testing::Test {
protected:
    template <typename Kind, typename... Args>
    Kind* Make(Args&&... args) {
        auto stroke = std::make_unique<Kind>(&character, std::forward<Args>(args)...);
        Kind* raw = stroke.get();
        strokes.push_back(std::move(stroke));
        return raw;
    }

    // Links b after a the way the character reader does.
    static void Link(Stroke* a, Stroke* b) {
        a->SetNext(b);
        b->SetPrev(a);
    }

    StrokeFontCharacterSet font;
    StrokeCharacter character{&font};
    std::vector<std::unique_ptr<Stroke>> strokes;
};

inline Vector3 Point(float x, float y) { return Vector3(x, y, 0.0f); }

inline Vector3 AtDegrees(float degrees) {
    const double radians = degrees * M_PI / 180.0;
    return Vector3(static_cast<float>(std::cos(radians)), static_cast<float>(std::sin(radians)), 0.0f);
}

inline ::testing::AssertionResult Near(const Vector3& actual, const Vector3& expected, float tolerance = 1e-4f) {
    if (std::fabs(actual.x - expected.x) <= tolerance && std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z
                                         << ") is not within " << tolerance << " of (" << expected.x << ", "
                                         << expected.y << ", " << expected.z << ")";
}

