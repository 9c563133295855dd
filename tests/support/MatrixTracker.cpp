#include "MatrixTracker.h"

#include <GL/gl.h>

#include <cmath>

namespace gl_record {

Matrix4 Identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r{};
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[col * 4 + k];
            r[col * 4 + row] = sum;
        }
    return r;
}

std::array<double, 3> TransformPoint(const Matrix4& m, double x, double y, double z) {
    double w = m[3] * x + m[7] * y + m[11] * z + m[15];
    if (w == 0) w = 1;
    return {(m[0] * x + m[4] * y + m[8] * z + m[12]) / w, (m[1] * x + m[5] * y + m[9] * z + m[13]) / w,
            (m[2] * x + m[6] * y + m[10] * z + m[14]) / w};
}

namespace {
Matrix4 translation(double x, double y, double z) {
    Matrix4 m = Identity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Matrix4 rotation(double degrees, double x, double y, double z) {
    double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0) return Identity();
    x /= length;
    y /= length;
    z /= length;
    double a = degrees * M_PI / 180.0, c = std::cos(a), s = std::sin(a), t = 1 - c;
    return {t * x * x + c,     t * x * y + s * z, t * x * z - s * y, 0, t * x * y - s * z, t * y * y + c,
            t * y * z + s * x, 0,                 t * x * z + s * y, t * y * z - s * x, t * z * z + c, 0,
            0,                 0,                 0,                 1};
}
}  // namespace

std::vector<Placed> PlaceCalls(const std::vector<Call>& calls, const std::string& name) {
    std::vector<Placed> out;
    std::vector<Matrix4> stack{Identity()};
    bool modelview = true;
    for (const Call& call : calls) {
        const std::vector<double>& a = call.args;
        if (call.name == "glMatrixMode") modelview = a[0] == GL_MODELVIEW;
        if (call.name == name) out.push_back({call, stack.back()});
        if (!modelview) continue;
        Matrix4& top = stack.back();
        if (call.name == "glLoadIdentity") top = Identity();
        else if (call.name == "glTranslatef") top = Multiply(top, translation(a[0], a[1], a[2]));
        else if (call.name == "glRotatef") top = Multiply(top, rotation(a[0], a[1], a[2], a[3]));
        else if (call.name == "glScalef") {
            Matrix4 s = Identity();
            s[0] = a[0];
            s[5] = a[1];
            s[10] = a[2];
            top = Multiply(top, s);
        } else if (call.name == "glMultMatrixf") {
            Matrix4 m;
            for (int i = 0; i < 16; ++i) m[i] = a[i];
            top = Multiply(top, m);
        } else if (call.name == "glPushMatrix") stack.push_back(top);
        else if (call.name == "glPopMatrix" && stack.size() > 1) stack.pop_back();
    }
    return out;
}

}  // namespace gl_record
