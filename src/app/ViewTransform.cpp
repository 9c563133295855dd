#include "app/ViewTransform.h"

#include <GL/gl.h>

void TranslateToViewCentre(const ViewState& view) {
    glTranslatef(view.panX + 0.5f * static_cast<float>(view.width), view.panY + 0.5f * static_cast<float>(view.height),
                 -0.5f * view.viewDepth);
}

void RotateAndScaleView(const ViewState& view) {
    glRotatef(view.rotX, 1.0f, 0.0f, 0.0f);
    glRotatef(view.rotY, 0.0f, 1.0f, 0.0f);
    glRotatef(view.rotZ, 0.0f, 0.0f, 1.0f);
    glScalef(view.scale, view.scale, view.scale);
}
