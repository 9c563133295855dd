#include "object/BarStyle.h"

#include "text/StrokeCharacterSet.h"

namespace {

// At least the floor; NaN counts as below it.
float atLeast(float value, float floor) { return value >= floor ? value : floor; }

}  // namespace

BarStyle FontBarStyle(const StrokeCharacterSet& font) {
    return {0.5f,
            font.sectionShape,
            font.capStyle,
            font.sectionSegments,
            atLeast(font.sectionParameter, 0.01f),
            font.sectionTwist,
            atLeast(font.sectionParameter2, 0.01f)};
}
