// glutSolidSphere: a sphere about the origin, cut into slices around the
// z axis and stacks along it from +z to -z; the normals point outwards.

#include <cmath>
#include <utility>

#include "capture/CaptureState.h"

namespace capture {

void EmitSphere(const std::vector<float>& unitPoints, const std::vector<std::uint32_t>& corners, float radius);

namespace {

// The unit sphere of one division: a grid of (stacks + 1) rings of slices
// points, each point its own normal, and the triangles as corner indexes.
struct UnitSphere {
    std::vector<float> points;
    std::vector<std::uint32_t> corners;
};

UnitSphere makeUnitSphere(int slices, int stacks) {
    const double pi = 3.14159265358979323846;
    UnitSphere out;
    for (int stack = 0; stack <= stacks; ++stack)
        for (int slice = 0; slice < slices; ++slice) {
            const double polar = pi * stack / stacks, around = 2.0 * pi * slice / slices;
            const double ring = stack == 0 || stack == stacks ? 0.0 : std::sin(polar);
            out.points.push_back(static_cast<float>(std::cos(around) * ring));
            out.points.push_back(static_cast<float>(std::sin(around) * ring));
            out.points.push_back(static_cast<float>(stack == 0 ? 1.0 : stack == stacks ? -1.0 : std::cos(polar)));
        }
    auto at = [slices](int stack, int slice) { return static_cast<std::uint32_t>(stack * slices + slice % slices); };
    for (int stack = 0; stack < stacks; ++stack)
        for (int slice = 0; slice < slices; ++slice) {
            // a and d on the upper ring, b and c on the lower one; the quad
            // a b c d runs counter-clockwise seen from outside. At the poles
            // one of its two triangles has no area and is left out.
            const std::uint32_t a = at(stack, slice), b = at(stack + 1, slice), c = at(stack + 1, slice + 1),
                                d = at(stack, slice + 1);
            if (stack != stacks - 1) out.corners.insert(out.corners.end(), {a, b, c});
            if (stack != 0) out.corners.insert(out.corners.end(), {a, c, d});
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
    EmitSphere(sphere.points, sphere.corners, static_cast<float>(radius));
}

}  // namespace capture
