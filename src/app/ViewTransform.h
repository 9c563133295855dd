#pragma once

#include "app/ViewState.h"

// Moves the origin to the window centre plus the pan offsets, at the middle
// of the depth range, where the projection makes one unit one pixel.
void TranslateToViewCentre(const ViewState& view);

// The user's rotation about x, then y, then z, and the uniform scale.
void RotateAndScaleView(const ViewState& view);
