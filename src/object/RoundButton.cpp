#include "object/RoundButton.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/Turns.h"
#include "geometry/VectorGL.h"
#include "object/StepLength.h"
#include "stroke/Tessellation.h"
#include "text/LogoString.h"

namespace {


}  // namespace

int RoundButtonSegments(float width, float height, float step) {
    const double larger = std::max(width, height);
    return std::max(1, BoundedCount(kFullTurn * larger / step + 1.0));
}

void RoundButton::DrawShape() {
    const float w = std::fabs(width);
    const float h = std::fabs(height);
    const int n = RoundButtonSegments(w, h, RoundStepLength(FacetLengthGlobal));

    float d = std::fabs(depth);
    if (d > w) d = w;
    if (d > h) d = h;
    depth = d;

    // One extra point repeats the first at a full turn, closing fan and strip.
    std::vector<Vector3> face(n + 1), base(n + 1), rim(n + 1);
    const float step = static_cast<float>(kFullTurn / n);
    for (int i = 0; i <= n; ++i) {
        const float t = static_cast<float>(i) * step;
        const float c = std::cos(t);
        const float s = std::sin(t);
        face[i] = position + Vector3((w - d) * 0.5f * c, (h - d) * 0.5f * s, 0.0f);
        base[i] = position + Vector3(w * 0.5f * c, h * 0.5f * s, -d);
        // The outward normal of the base ellipse tilted 45 degrees towards the
        // viewer; for a button of no size it is Z.
        rim[i] = Normalized(Normalized(Vector3(h * c, w * s, 0.0f)) + UnitZ);
    }

    glBegin(GL_TRIANGLE_FAN);
    EmitNormal(UnitZ);
    EmitVertex(position);
    for (const Vector3& f : face) EmitVertex(f);
    glEnd();

    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= n; ++i) {
        EmitNormal(rim[i]);
        EmitVertex(face[i]);
        EmitVertex(base[i]);
    }
    glEnd();
}
