#pragma once

#include <GL/gl.h>

#include <string>
#include <vector>

#include "Captured.h"
#include "app/Globals.h"
#include "geometry/Vector3.h"

namespace app_test {

// Two points within a tolerance of each other.
inline bool NearPoint(const Vector3& a, const Vector3& b, float tolerance = 1e-4f) { return Length(a - b) < tolerance; }

// Puts the global records back to their start-up values and starts the
// capture afresh with its call log on, so each test sees a fresh program.
inline void ResetProgram() {
    viewState = ViewState();
    environment = Environment();
    logoString.frameCount = 1;
    logoString.trailWeight = 0.5f;
    logoString.trailRatio = 0.5f;
    logoString.font = nullptr;  // an unbound logo compiles nothing of its own
    logoString.logoList = logoString.shadowList = -1;
    logoString.shadow.enabled = 0;
    captured::Restart();
}

// Stands a list of one triangle, corners (0, 0, 0), (1, 0, 0), (0, 1, 0),
// in for the logo's list: with no font bound the logo calls it as it stands,
// so where its corners land shows the matrices the logo is drawn under.
inline unsigned ProbeLogo() {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLES);
    glVertex3f(0, 0, 0);
    glVertex3f(1, 0, 0);
    glVertex3f(0, 1, 0);
    glEnd();
    glEndList();
    logoString.logoList = static_cast<int>(list);
    return list;
}

// The calls that make up a frame: clears, list calls, accumulation, and
// the flush and swap, as "name a b".
inline std::vector<std::string> FrameSteps() {
    std::vector<std::string> steps;
    for (const capture::Call& call : captured::Calls()) {
        const std::string& n = call.name;
        if (n == "glClear" || n == "glCallList" || n == "glAccum" || n == "glFlush" || n == "glutSwapBuffers")
            steps.push_back(captured::Describe(call));
    }
    return steps;
}

}  // namespace app_test
