#include "Fit.h"

#include <algorithm>
#include <cmath>

namespace {

bool touchesEdge(const PixelBox& box, const ViewState& view) {
    return box.left <= 0 || box.top <= 0 || box.right >= view.width - 1 || box.bottom >= view.height - 1;
}

// How far the box lies from the margin on its limiting side, in pixels.
double marginError(const PixelBox& box, const ViewState& view, int margin) {
    const double gapX = (view.width - (box.right - box.left + 1)) / 2.0 - margin;
    const double gapY = (view.height - (box.bottom - box.top + 1)) / 2.0 - margin;
    return std::min(gapX, gapY);
}

// One step: the box scales about the view's origin, so the scale that makes
// it fit and the pan that centres it follow from the box measured now.
// Exact for the orthographic projection; a perspective one converges in a
// few steps.
void refit(ViewState& view, const PixelBox& box, int margin) {
    const double width = box.right - box.left + 1, height = box.bottom - box.top + 1;
    const double factor = std::min((view.width - 2.0 * margin) / width, (view.height - 2.0 * margin) / height);
    // The box's centre from the origin, y upwards.
    const double centreX = (box.left + box.right + 1) / 2.0 - (0.5 * view.width + view.panX);
    const double centreY = (view.height - (box.top + box.bottom + 1) / 2.0) - (0.5 * view.height + view.panY);
    view.scale = static_cast<float>(view.scale * factor);
    view.panX = static_cast<float>(-factor * centreX);
    view.panY = static_cast<float>(-factor * centreY);
}

}  // namespace

bool FitView(ViewState& view, int margin, const std::function<PixelBox()>& measure) {
    view.scale = 1.0f;
    view.panX = view.panY = 0.0f;
    PixelBox box = measure();
    // Shrink until the whole logo is inside the picture, so its box is true.
    for (int attempt = 0; attempt < 12 && (box.Empty() || touchesEdge(box, view)); ++attempt) {
        view.scale *= 0.25f;
        box = measure();
    }
    if (box.Empty()) return false;
    for (int step = 0; step < 4; ++step) {
        refit(view, box, margin);
        box = measure();
        if (box.Empty()) return false;
        if (std::fabs(marginError(box, view, margin)) <= 0.5) break;
    }
    return true;
}
