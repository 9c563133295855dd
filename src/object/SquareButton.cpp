#include "object/SquareButton.h"

#include <GL/gl.h>

namespace {

// A corner of the face (front) or of the base (back) rectangle, with the signs
// of its X and Y offsets from the centre.
struct QuadCorner {
    bool base;
    float sx, sy;
};

struct Quad {
    Vector3 normal;
    QuadCorner corners[4];
};

// Every side leans 45 degrees whatever the sizes, so its normal is the
// normalised sum of Z and its outward axis. Each quad is counter-clockwise
// seen from outside, so the plate survives back-face culling.
const Quad kQuads[] = {
    {UnitZ, {{false, 1, 1}, {false, -1, 1}, {false, -1, -1}, {false, 1, -1}}},
    {Normalized(UnitY + UnitZ), {{true, 1, 1}, {true, -1, 1}, {false, -1, 1}, {false, 1, 1}}},
    {Normalized(UnitZ - UnitX), {{true, -1, 1}, {true, -1, -1}, {false, -1, -1}, {false, -1, 1}}},
    {Normalized(UnitZ - UnitY), {{true, -1, -1}, {true, 1, -1}, {false, 1, -1}, {false, -1, -1}}},
    {Normalized(UnitX + UnitZ), {{true, 1, -1}, {true, 1, 1}, {false, 1, 1}, {false, 1, -1}}},
};

}  // namespace

void SquareButton::DrawShape() {
    // The face is inset by the depth so that the sides really slope at 45
    // degrees; a depth beyond half a size turns the face inside out, which is
    // left as it is.
    const float faceX = width * 0.5f - depth;
    const float faceY = height * 0.5f - depth;
    const float baseX = width * 0.5f;
    const float baseY = height * 0.5f;

    glBegin(GL_QUADS);
    for (const Quad& quad : kQuads) {
        glNormal3f(quad.normal.x, quad.normal.y, quad.normal.z);
        for (const QuadCorner& c : quad.corners) {
            const float halfX = c.base ? baseX : faceX;
            const float halfY = c.base ? baseY : faceY;
            glVertex3f(position.x + c.sx * halfX, position.y + c.sy * halfY, c.base ? position.z - depth : position.z);
        }
    }
    glEnd();
}
