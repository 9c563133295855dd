#include "app/AccumDisplay.h"

#include <GL/glut.h>

#include <cmath>

#include "app/Globals.h"
#include "app/ViewTransform.h"

namespace {

constexpr float kJitterTurn = 6.2831854820251465f;

// The trail's frames fade geometrically: frame 0 weighs 1, frame 1 weighs
// trailWeight and each later frame trailRatio times the one before, all over
// a total that also counts the powers up to the last frame.
void accumulateTrail(float passCount) {
    const unsigned frames = logoString.frameCount;
    const float first = logoString.trailWeight;
    const float ratio = logoString.trailRatio;
    float total = 1.0f;
    for (unsigned k = 0; k < frames; ++k) total += first * static_cast<float>(std::pow(ratio, static_cast<float>(k)));
    float weight = 1.0f / total;
    // The buffers are not cleared between frames: each accumulation takes the
    // frames so far drawn over one another.
    for (unsigned k = 0; k < frames; ++k) {
        logoString.DrawFrame(k);
        glAccum(GL_ACCUM, weight / passCount);
        weight *= k == 0 ? first : ratio;
    }
}

// frame < 0: the still logo, or its trail in the trail mode; otherwise that
// one frame of the whole-logo motion.
void renderPass(unsigned pass, float angleStep, float passCount, int frame) {
    glClear(GL_COLOR_BUFFER_BIT);
    glClear(GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    const float angle = static_cast<float>(pass) * angleStep;
    const float cosine = static_cast<float>(std::cos(static_cast<double>(angle)));
    const float sine = static_cast<float>(std::sin(static_cast<double>(angle)));
    // Before the view translation, so the offset is in window pixels.
    if (viewState.aaMode) glTranslatef(viewState.aaRadius * cosine, viewState.aaRadius * sine, 0.0f);
    TranslateToViewCentre(viewState);
    if (viewState.jitterMode) glRotatef(viewState.jitterAngle, cosine, sine, 0.0f);
    RotateAndScaleView(viewState);
    if (frame >= 0) {
        logoString.DrawFrame(static_cast<unsigned>(frame));
        glAccum(GL_ACCUM, 1.0f / passCount);
    } else if (viewState.trailMode) {
        accumulateTrail(passCount);
    } else {
        logoString.Draw();
        glAccum(GL_ACCUM, 1.0f / passCount);
    }
    glPopMatrix();
}

void accumulate(int frame) {
    const unsigned passes = viewState.passes > 0 ? viewState.passes : 1;
    const float angleStep = kJitterTurn / static_cast<float>(passes);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glClear(GL_ACCUM_BUFFER_BIT);
    // The trail alone needs no offsets, so one pass shows it.
    const unsigned passCount = viewState.aaMode || viewState.jitterMode ? passes : 1;
    for (unsigned pass = 0; pass < passCount; ++pass)
        renderPass(pass, angleStep, static_cast<float>(passCount), frame);
    glAccum(GL_RETURN, 1.0f);
}

}  // namespace

void accumulateView() { accumulate(-1); }

void accumulateMotionFrame(unsigned frame) { accumulate(static_cast<int>(frame)); }

void accumDisplay() {
    accumulateView();
    glFlush();
    glutSwapBuffers();
}
