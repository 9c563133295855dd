#include "object/Bar.h"

#include <cmath>

#include "object/BasicObject.h"
#include "object/StepLength.h"
#include "stroke/LineStroke.h"
#include "text/LogoString.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

BarEnds BarStrokeEnds(const Vector3& centre, float width, float height, float bodyCoefficient) {
    float half = width * 0.5f - bodyCoefficient * std::fabs(height);
    if (!(half > 0.0f)) half = 0.0f;
    BarEnds ends{centre - half * UnitX, centre + half * UnitX};
    if (IsNearZero(Length(ends.start - ends.end))) ends.end = ends.start + UnitX;
    return ends;
}

void BuildBar(const BarStyle& style, const BasicObject& bar, StrokeCharacterSet& set, StrokeCharacter& character) {
    set.SetStrokeWidth(bar.height * 0.5f);
    set.SetStrokeHeight(bar.depth * 0.5f);
    set.facetLength = BarStepLength(FacetLengthGlobal);
    set.sectionShape = style.sectionShape;
    set.capStyle = style.capStyle;
    set.sectionSegments = style.sectionSegments;
    set.sectionParameter = style.sectionParameter;
    set.sectionTwist = style.sectionTwist;
    set.sectionParameter2 = style.sectionParameter2;

    const BarEnds ends = BarStrokeEnds(bar.position, bar.width, bar.height, style.bodyCoefficient);
    auto* stroke = new LineStroke(&character, ends.start, ends.end);
    character.AppendStroke(stroke);
    stroke->startCap = style.capStyle;
    stroke->endCap = style.capStyle;
}

void DrawBar(const BarStyle& style, const BasicObject& bar) {
    StrokeCharacterSet set;
    StrokeCharacter character(&set);
    BuildBar(style, bar, set, character);
    if (character.firstStroke != nullptr) character.firstStroke->Draw();
}
