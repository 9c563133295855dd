#pragma once

#include <cmath>

#include "geometry/Turns.h"
#include "geometry/Vector3.h"
#include "stroke/Section.h"

// What a cross-section profile is built from: the orthonormal frame at the
// section (direction of travel, up and side) and the owner's style values.
// Profiles are offsets from the section's centre in world axes, before the
// depth stretch; normals are unit length.
struct ProfileFrame {
    Vector3 d = UnitX;     // unit direction of travel
    Vector3 up = UnitZ;    // U: out of the text plane for a stroke lying in it
    Vector3 side = UnitY;  // S = d x U: on the right of the direction of travel
    float w = 0.0f;        // half width, unscaled
    float k = 1.0f;        // scale of this ring
    float q = 1.0f;        // shape parameter
    int n = 0;             // sides of the polygonal shapes, already bounded
    float s = 1.0f;        // target edge length of the curved shapes
    float effectiveWidth = 0.0f;

    // The unit vector at angle a, measured from U towards S.
    Vector3 Dir(double a) const {
        return static_cast<float>(std::sin(a)) * side + static_cast<float>(std::cos(a)) * up;
    }
    // Offset written as (across S, up U).
    Vector3 At(float across, float height) const { return across * side + height * up; }
};

// Number of whole steps of the given length along a curve of the given
// length: never negative, never above the tessellation bound.
int CurveSteps(double length, double step);

// A unit normal: m normalised, or else the direction of p, or else fallback.
// Degenerate style values (a zero shape parameter, a zero-length face) must
// still give unit normals.
Vector3 UnitNormal(const Vector3& m, const Vector3& p, const Vector3& fallback);

// Appends the face normals of a closed polygon given by its unscaled
// vertices (face i from vertex i to i + 1); the repeated last vertex gets the
// first face's normal.
void AppendFaceNormals(const ProfileFrame& f, const std::vector<Vector3>& unscaled, Section& out);

// The builders, one per shape family. Each leaves out empty when the style
// values describe no ring.
void EllipseProfile(const ProfileFrame& f, Section& out);             // 0
void InscribedPolygonProfile(const ProfileFrame& f, Section& out);    // 1
void StarProfile(const ProfileFrame& f, Section& out);                // 2
void ChamferedPolygonProfile(const ProfileFrame& f, Section& out);    // 8
void RoundedPolygonProfile(const ProfileFrame& f, Section& out);      // 9
void HProfile(const ProfileFrame& f, Section& out);                   // 3
void LProfile(const ProfileFrame& f, Section& out);                   // 4
void PointedOvalProfile(const ProfileFrame& f, Section& out);         // 5
void LensProfile(const ProfileFrame& f, Section& out);                // 6
void CrescentProfile(const ProfileFrame& f, Section& out);            // 7
