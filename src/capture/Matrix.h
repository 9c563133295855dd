#pragma once

// The 4x4 matrices of the capture layer, column-major as OpenGL keeps them,
// in single precision as OpenGL computes them.

namespace capture {

struct Matrix4 {
    float m[16];
    static Matrix4 Identity();
};

// a * b: b is applied first, as glMultMatrix appends b to a.
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);

Matrix4 Translation(float x, float y, float z);
// OpenGL's rotation by degrees about an axis; an axis of zero length
// gives the identity.
Matrix4 Rotation(float degrees, float x, float y, float z);
Matrix4 Scaling(float x, float y, float z);
Matrix4 Ortho(double l, double r, double b, double t, double n, double f);
Matrix4 Frustum(double l, double r, double b, double t, double n, double f);

// The matrix that carries normals: the inverse transpose of the upper 3x3,
// up to a positive factor. It is computed as the cofactor matrix, which is
// defined for flattening matrices too (the shadow's), and keeps a normal on
// the side the flattened triangle turns its front to.
struct Matrix3 {
    float m[9];  // column-major
};
Matrix3 NormalMatrix(const Matrix4& modelview);

}  // namespace capture
