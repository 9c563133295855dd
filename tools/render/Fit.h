#pragma once

#include <functional>

#include "Picture.h"
#include "app/ViewState.h"

// Sets the view's scale and pan so that the logo's box (what measure finds
// drawn with the view as it then is) fills the picture up to margin pixels
// from its edges on the limiting side, and is centred on the other. The
// turn is kept. Returns false when nothing is drawn at any scale.
bool FitView(ViewState& view, int margin, const std::function<PixelBox()>& measure);
