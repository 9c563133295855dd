// glutSolidSphere: a sphere about the origin, cut into slices around the
// z axis and stacks along it from +z to -z; the normals point outwards.

#include <cmath>
#include <utility>

#include "capture/CaptureState.h"

namespace capture {

void EmitSphereTriangle(const float* a, const float* b, const float* c, float radius);

namespace {

// The unit sphere's triangles for one division, three points of three
// floats each; the point is its own normal.
using UnitSphere = std::vector<float>;

UnitSphere makeUnitSphere(int slices, int stacks) {
    const double pi = 3.14159265358979323846;
    auto point = [&](int stack, int slice, float* out) {
        const double polar = pi * stack / stacks, around = 2.0 * pi * (slice % slices) / slices;
        const double ring = stack == 0 || stack == stacks ? 0.0 : std::sin(polar);
        out[0] = static_cast<float>(std::cos(around) * ring);
        out[1] = static_cast<float>(std::sin(around) * ring);
        out[2] = static_cast<float>(stack == 0 ? 1.0 : stack == stacks ? -1.0 : std::cos(polar));
    };
    UnitSphere out;
    out.reserve(static_cast<std::size_t>(slices) * (stacks - 1) * 18);
    float a[3], b[3], c[3], d[3];
    auto add = [&out](const float* p, const float* q, const float* r) {
        out.insert(out.end(), p, p + 3);
        out.insert(out.end(), q, q + 3);
        out.insert(out.end(), r, r + 3);
    };
    for (int stack = 0; stack < stacks; ++stack)
        for (int slice = 0; slice < slices; ++slice) {
            // a and d on the upper ring, b and c on the lower one; the
            // quad a b c d runs counter-clockwise seen from outside. At the
            // poles one of its two triangles has no area and is left out.
            point(stack, slice, a);
            point(stack + 1, slice, b);
            point(stack + 1, slice + 1, c);
            point(stack, slice + 1, d);
            if (stack != stacks - 1) add(a, b, c);
            if (stack != 0) add(a, c, d);
        }
    return out;
}

// The cap styles draw one division throughout a logo, so keeping the last
// one saves the trigonometry without holding on to every size ever asked for.
const UnitSphere& unitSphere(int slices, int stacks) {
    static std::pair<int, int>* key = new std::pair<int, int>(0, 0);
    static UnitSphere* cached = new UnitSphere;
    if (*key != std::make_pair(slices, stacks)) {
        *cached = makeUnitSphere(slices, stacks);
        *key = {slices, stacks};
    }
    return *cached;
}

}  // namespace

void DrawSphere(double radius, int slices, int stacks) {
    if (slices < 2 || stacks < 2) return;
    const UnitSphere& sphere = unitSphere(slices, stacks);
    const float r = static_cast<float>(radius);
    for (std::size_t i = 0; i + 9 <= sphere.size(); i += 9)
        EmitSphereTriangle(&sphere[i], &sphere[i + 3], &sphere[i + 6], r);
}

}  // namespace capture
