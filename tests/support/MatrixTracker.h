#pragma once

// Follows the model-view matrix through a sequence of recorded calls, so a
// test can ask where a vertex or a called list ends up.

#include <array>
#include <string>
#include <vector>

#include "RecordingGL.h"

namespace gl_record {

using Matrix4 = std::array<double, 16>;  // column-major, as OpenGL takes it

Matrix4 Identity();
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);
std::array<double, 3> TransformPoint(const Matrix4& m, double x, double y, double z);

struct Placed {
    Call call;
    Matrix4 modelview;
};

// Walks calls (normally Effective()) from an identity model-view matrix and
// returns every call named name with the matrix current at that call.
std::vector<Placed> PlaceCalls(const std::vector<Call>& calls, const std::string& name);

}  // namespace gl_record
