#include "text/LogoDecorations.h"

#include <GL/gl.h>

#include "text/LinePath.h"
#include "text/LogoString.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"
#include "geometry/VectorGL.h"
#include "stroke/Stroke.h"

namespace {

struct StyleColours {
    Color a, b;
};
StyleColours coloursOf(const LogoString& logo, const DecorationStyle& style) {
    return {logo.ColourAt(style.colourIndexA), logo.ColourAt(style.colourIndexB)};
}

// Keeps an edge of the band from running backwards where the path bends
// more sharply than the band is wide.
Vector3 forwardOnly(const Vector3& candidate, const Vector3& previous, const Vector3& tangent, bool first) {
    if (!first && Dot(candidate - previous, tangent) < 0.0f) return previous;
    return candidate;
}

// The three rules of a band of the given height: under, over, middle.
const float kRuleHeights[3] = {-0.5f, 0.5f, 0.0f};
}  // namespace

const DecorationStyle& RuleStyleAt(const LogoString& logo, float y) {
    if (IsNearZero(y)) return logo.middleRule;
    return y < 0.0f ? logo.underRule : logo.overRule;
}

void DrawLineDecorations(const LogoString& logo, float width) {
    if (logo.pathMode == 0 || logo.font == nullptr) return;
    const float height = logo.font->lineHeight + logo.font->lineGap;
    if (logo.band.enabled) {
        const float end = logo.band.endMargin, side = logo.band.sideMargin;
        if (end == 0.0f && side == 0.0f) {
            DrawLineBand(logo, width, height);
        } else {
            // The band reaches past the line by its margins.
            glPushMatrix();
            glTranslatef(-end, 0.0f, 0.0f);
            DrawLineBand(logo, width + 2.0f * end, height + 2.0f * side);
            glPopMatrix();
        }
    }
    const DecorationStyle* rules[3] = {&logo.underRule, &logo.overRule, &logo.middleRule};
    for (int r = 0; r < 3; ++r)
        if (rules[r]->enabled) DrawLineRule(logo, width, kRuleHeights[r] * height);
}

void DrawCharacterDecorations(const LogoString& logo, float width, float height) {
    if (logo.font == nullptr) return;
    if (logo.band.enabled)
        DrawCharacterPlate(logo, width + 2.0f * logo.band.endMargin, height + 2.0f * logo.band.sideMargin);
    const DecorationStyle* rules[3] = {&logo.underRule, &logo.overRule, &logo.middleRule};
    for (int r = 0; r < 3; ++r)
        if (rules[r]->enabled) DrawCharacterRule(logo, width, kRuleHeights[r] * height);
}

void DrawLineBand(const LogoString& logo, float width, float height) {
    const DecorationStyle& style = logo.band;
    const StyleColours colours = coloursOf(logo, style);
    const unsigned steps = DecorationSteps(width, logo.font->facetLength);
    const Vector3 setBack = -logo.font->strokeWidth * UnitZ;
    logo.MaterialAt(style.materialIndex).Apply();
    glBegin(GL_QUAD_STRIP);
    Vector3 lastFirst = Origin, lastSecond = Origin;
    for (unsigned i = 0; i <= steps; ++i) {
        const PathFrame frame = DecorationFrame(logo, width, i, steps);
        const float slant = logo.slant.Value(frame.u) * height * 0.5f;
        const Vector3 across = (height * 0.5f) * frame.up;
        const Vector3 first = frame.point - across + setBack + slant * frame.tangent;
        const Vector3 second = frame.point + across + setBack - slant * frame.tangent;
        lastFirst = forwardOnly(first, lastFirst, frame.tangent, i == 0);
        lastSecond = forwardOnly(second, lastSecond, frame.tangent, i == 0);

        Color firstColour = colours.a, secondColour = colours.a;
        if (style.colourMode == 0) {
            firstColour = secondColour = BlendedColour(colours.a, colours.b, style.frequency, i, steps);
        } else if (style.colourMode == 1) {
            secondColour = colours.b;
        }
        glNormal3f(frame.normal.x, frame.normal.y, frame.normal.z);
        firstColour.Apply();
        EmitVertex(lastFirst);
        secondColour.Apply();
        EmitVertex(lastSecond);
    }
    glEnd();
}

std::vector<RodStation> LineRuleStations(const LogoString& logo, float width, float y) {
    const DecorationStyle& style = RuleStyleAt(logo, y);
    const StyleColours colours = coloursOf(logo, style);
    const unsigned steps = DecorationSteps(width, logo.font->facetLength);
    std::vector<RodStation> stations;
    stations.reserve(steps + 1);
    for (unsigned i = 0; i <= steps; ++i) {
        const PathFrame frame = DecorationFrame(logo, width, i, steps);
        stations.push_back({frame.point - y * frame.up, frame.tangent,
                            BlendedColour(colours.a, colours.b, style.frequency, i, steps)});
    }
    return stations;
}

void DrawLineRule(const LogoString& logo, float width, float y) {
    logo.MaterialAt(RuleStyleAt(logo, y).materialIndex).Apply();
    DrawRod(*logo.font, LineRuleStations(logo, width, y));
}

void DrawCharacterPlate(const LogoString& logo, float width, float height) {
    const DecorationStyle& style = logo.band;
    const StyleColours colours = coloursOf(logo, style);
    // Corner colours left to right (mode 0), bottom to top (mode 1), or a
    // single corner of A.
    Color corners[4] = {colours.a, colours.b, colours.b, colours.a};
    if (style.colourMode == 1) {
        corners[1] = colours.a;
        corners[3] = colours.b;
    } else if (style.colourMode != 0) {
        corners[3] = colours.b;
    }
    const float x = width * 0.5f, y = height * 0.5f, z = -logo.font->strokeWidth;
    const float cornerXY[4][2] = {{-x, -y}, {x, -y}, {x, y}, {-x, y}};
    logo.MaterialAt(style.materialIndex).Apply();
    glBegin(GL_POLYGON);
    glNormal3f(0.0f, 0.0f, 1.0f);
    for (int c = 0; c < 4; ++c) {
        corners[c].Apply();
        glVertex3f(cornerXY[c][0], cornerXY[c][1], z);
    }
    glEnd();
}

void DrawCharacterRule(const LogoString& logo, float width, float y) {
    const DecorationStyle& style = RuleStyleAt(logo, y);
    std::unique_ptr<StrokeCharacter> rod = MakeStraightRod(*logo.font, -width * 0.5f, width * 0.5f, y);
    logo.MaterialAt(style.materialIndex).Apply();
    logo.ColourAt(style.colourIndexA).Apply();
    rod->firstStroke->Draw();
}
