#include <GL/gl.h>

#include <cmath>

#include "stroke/CapSweep.h"
#include "stroke/Stroke.h"
#include "text/StrokeCharacter.h"

void Stroke::DrawCap(const int& style, const Vector3& P, const Vector3& U, const Vector3& V) const {
    if (owner == nullptr || style == 0 || style == 1) return;
    const CapSizes size{owner->StrokeWidth(), owner->EffectiveWidth(), owner->SectionParameter2(),
                        owner->FacetLength()};
    // The cap starts where the section's effective width ends, so that
    // sections narrower than the stroke width still reach their cap.
    const float lengthening = size.W - size.EW;
    const Vector3 origin = P + lengthening * U;
    if (!std::isfinite(origin.x) || !std::isfinite(origin.y) || !std::isfinite(origin.z)) return;
    glPushMatrix();
    glTranslatef(origin.x, origin.y, origin.z);
    CapSweep sweep(*this, U, V);
    sweep.StartAt(sweep.Ring(-lengthening, 1.0f));
    sweep.BandTo(sweep.Ring(0.0f, 1.0f));
    DrawCapShape(style, sweep, size);
    glPopMatrix();
}
