#include "object/RoundFrame.h"

#include <algorithm>
#include <utility>

#include "object/FrameGeometry.h"
#include "object/OwnerFont.h"
#include "object/StepLength.h"
#include "stroke/LineStroke.h"
#include "stroke/SweepBudget.h"
#include "text/LogoString.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

namespace {
constexpr double kAroundTheRing = 6.283185307179586;
}

void RoundFrame::DrawShape() {
    StrokeFontCharacterSet* font = OwnerFont(*this);
    if (font == nullptr || !FrameHasRoom(width, height, font->strokeWidth)) return;
    const float a = width - 2.0f * font->strokeWidth;
    const float b = height - 2.0f * font->strokeWidth;

    // The rings take their style from a stroke of a character over the font;
    // that stroke is never drawn itself.
    StrokeCharacter character(font);
    auto* context = new LineStroke(&character);
    character.AppendStroke(context);

    const float unit = 1.0f;
    Section previous, ring;
    const RingPlacement first = RoundFrameRing(position, a, b, 0.0f);
    const unsigned pointsPerRing = context->MakeSection(previous, first.point, first.direction, unit);
    // A wide section round a large frame would multiply two large counts.
    const int n = std::min(RoundFrameSegments(a, b, RoundStepLength(FacetLengthGlobal)), MaxRings(pointsPerRing));
    const float angleStep = static_cast<float>(kAroundTheRing / n);
    // One band more than segments: the last covers the first again, which
    // closes the ring without a joint.
    for (int k = 1; k <= n + 1; ++k) {
        const RingPlacement at = RoundFrameRing(position, a, b, static_cast<float>(k) * angleStep);
        const unsigned count = context->MakeSection(ring, at.point, at.direction, unit);
        context->DrawBand(previous, ring, at.direction, count);
        std::swap(previous, ring);
    }
}
