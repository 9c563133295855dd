#include "text/LogoRod.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "stroke/LineStroke.h"
#include "stroke/Section.h"
#include "stroke/SweepBudget.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

Color BlendedColour(const Color& a, const Color& b, float frequency, unsigned station, unsigned steps) {
    const double phase = frequency * M_PI * station / (steps == 0 ? 1 : steps);
    return a + (b - a) * static_cast<float>(0.5 * (1.0 - std::cos(phase)));
}

namespace {
}  // namespace

void DrawRod(StrokeFontCharacterSet& font, const std::vector<RodStation>& stations) {
    if (stations.empty()) return;
    // The sweeping operations take their style from a stroke's owner, so the
    // rod borrows a stroke of a character of the font; the stroke itself is
    // never drawn.
    StrokeCharacter character(&font);
    LineStroke* context = new LineStroke(&character);
    character.AppendStroke(context);
    const int cap = character.CapStyle();

    Section previous, ring;
    const std::size_t last = stations.size() - 1;
    // A wide section along a long rod would multiply two large counts: past
    // the budget, only every stride-th station (and the last) gets a ring.
    const unsigned pointsPerRing = context->MakeSection(ring, stations[0].point, stations[0].direction, 1.0f);
    const std::size_t stride = 1 + last / static_cast<std::size_t>(MaxRings(pointsPerRing));
    for (std::size_t i = 0;; i = std::min(i + stride, last)) {
        const RodStation& station = stations[i];
        station.colour.Apply();
        const unsigned count = context->MakeSection(ring, station.point, station.direction, 1.0f);
        if (i == 0) context->DrawCap(cap, station.point, -station.direction, station.direction);
        else context->DrawBand(previous, ring, station.direction, count);
        if (i == last) {
            context->DrawCap(cap, station.point, station.direction, station.direction);
            break;
        }
        std::swap(previous, ring);
    }
}

std::unique_ptr<StrokeCharacter> MakeStraightRod(StrokeFontCharacterSet& font, float x0, float x1, float y) {
    auto character = std::make_unique<StrokeCharacter>(&font);
    LineStroke* stroke = new LineStroke(character.get(), Vector3(x0, y, 0.0f), Vector3(x1, y, 0.0f));
    stroke->startCap = stroke->endCap = character->CapStyle();
    character->AppendStroke(stroke);
    return character;
}
