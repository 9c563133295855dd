#pragma once

#include <array>

#include "geometry/Vector3.h"

// The frames outline a rectangle or an ellipse around a centre with the
// font's own stroke. Their centre line is inset by the stroke's half
// thickness r so that the outer edge lies at the frame's width and height.

// A frame needs room for its stroke on both sides: width and height above 2r.
// Smaller (or negative) frames would turn their outline inside out, and the
// round frame would get no positive segment count; they draw nothing.
bool FrameHasRoom(float width, float height, float r);

// The square frame's loop: from the middle of the left side up, clockwise
// seen from +Z, back to the middle of the left side, all at the centre's z.
// Stroke i runs from point i to point i + 1.
std::array<Vector3, 6> SquareFramePath(const Vector3& centre, float width, float height, float r);

// Segments of the round frame's centre ellipse of full axes a and b: one per
// step of pi times the larger axis, plus one; bounded and never below 1.
// The frame sweeps one band more than this, the last covering the first again.
int RoundFrameSegments(float a, float b, float step);

// Where the round frame puts a ring at angle t: on the centre ellipse, facing
// the tangent of a circle at t (on an ellipse slightly oblique to the path).
struct RingPlacement {
    Vector3 point;
    Vector3 direction;
};
RingPlacement RoundFrameRing(const Vector3& centre, float a, float b, float t);
