// The flat-sided sections: H and L profiles of legs and bars whose half
// thickness follows the ring's scale.
#include "stroke/SectionProfile.h"

namespace {

struct BlockCorner {
    float across, height;
};

void Block(const ProfileFrame& f, const std::vector<BlockCorner>& corners, const std::vector<Vector3>& normals,
           Section& out) {
    for (const BlockCorner& c : corners) out.points.push_back(f.At(c.across, c.height));
    out.normals = normals;
}

// Bar and leg measures shared by the H and L profiles.
struct BlockSize {
    float K, H, b;
    explicit BlockSize(const ProfileFrame& f) {
        const float t = 0.2f * f.w;
        K = f.w - t;
        H = f.q * f.w - t;
        b = f.k * t;
    }
};

}  // namespace

void HProfile(const ProfileFrame& f, Section& out) {
    const BlockSize z(f);
    const float K = z.K, H = z.H, b = z.b;
    const Vector3 S = f.side, U = f.up;
    Block(f,
          {{K + b, 0}, {K + b, -(H + b)}, {K - b, -(H + b)}, {K - b, -b}, {-(K - b), -b}, {-(K - b), -(H + b)},
           {-(K + b), -(H + b)}, {-(K + b), H + b}, {-(K - b), H + b}, {-(K - b), b}, {K - b, b}, {K - b, H + b},
           {K + b, H + b}, {K + b, 0}},
          {S, -U, -S, -U, S, -U, -S, U, S, U, -S, U, S, S}, out);
}

void LProfile(const ProfileFrame& f, Section& out) {
    const BlockSize z(f);
    const float K = z.K, H = z.H, b = z.b;
    const Vector3 S = f.side, U = f.up;
    Block(f,
          {{-K, H + b}, {-(K - b), H + b}, {-(K - b), -(H - b)}, {K + b, -(H - b)}, {K + b, -(H + b)},
           {-(K + b), -(H + b)}, {-(K + b), H + b}, {-K, H + b}},
          {U, S, U, S, -U, -S, U, U}, out);
}
