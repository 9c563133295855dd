// Placeholder bodies of the sweeping operations until they are written.
#include "stroke/Stroke.h"

bool IsFacetedShape(int sectionShape) {
    return sectionShape == 1 || sectionShape == 2 || sectionShape == 3 || sectionShape == 4 || sectionShape == 8;
}
unsigned Stroke::MakeSection(Section& ring, const Vector3&, const Vector3&, const float&) const {
    ring.Clear();
    return 0;
}
void Stroke::DrawBand(const Section&, const Section&, const Vector3&, const unsigned&) const {}
void Stroke::DrawJoint() const {}
void Stroke::DrawCap(const int&, const Vector3&, const Vector3&, const Vector3&) const {}
void Stroke::DrawSectionDisc(const Section&, const Vector3&, const Vector3&, unsigned) const {}
