#include "StillPicture.h"


#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "StbImageWrite.h"
#include "scene/Environment.h"

namespace {

using LightVector = std::array<float, 3>;

float LightDot(const LightVector& a, const LightVector& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

LightVector normalised(const LightVector& v) {
    const float length = std::sqrt(LightDot(v, v));
    return length > 0.0f ? LightVector{v[0] / length, v[1] / length, v[2] / length} : LightVector{0, 0, 1};
}

// A vertex on the picture: pixel position, depth (larger is nearer) and colour.
struct Corner {
    float x, y, z;
    std::array<float, 4> colour;
};

class Canvas {
public:
    Canvas(int side, const std::array<float, 4>& background)
        : side_(side), colour_(static_cast<std::size_t>(side * side), background),
          depth_(static_cast<std::size_t>(side * side), -1e30f) {}

    // Fills a triangle, colours interpolated, where it is nearer than what is there.
    void Fill(const Corner& a, const Corner& b, const Corner& c) {
        const float area = edge(a, b, c.x, c.y);
        if (std::fabs(area) < 1e-12f) return;
        const int left = std::max(0, int(std::floor(std::min({a.x, b.x, c.x}))));
        const int right = std::min(side_ - 1, int(std::ceil(std::max({a.x, b.x, c.x}))));
        const int top = std::max(0, int(std::floor(std::min({a.y, b.y, c.y}))));
        const int bottom = std::min(side_ - 1, int(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                const float wa = edge(b, c, px, py) / area, wb = edge(c, a, px, py) / area, wc = 1.0f - wa - wb;
                if (wa < 0.0f || wb < 0.0f || wc < 0.0f) continue;
                const float z = wa * a.z + wb * b.z + wc * c.z;
                const std::size_t i = static_cast<std::size_t>(y * side_ + x);
                if (z <= depth_[i]) continue;
                depth_[i] = z;
                std::array<float, 4>& out = colour_[i];
                const float alpha = wa * a.colour[3] + wb * b.colour[3] + wc * c.colour[3];
                for (int k = 0; k < 3; ++k) {
                    const float source = wa * a.colour[k] + wb * b.colour[k] + wc * c.colour[k];
                    out[k] = source * alpha + out[k] * (1.0f - alpha);
                }
                out[3] = alpha + out[3] * (1.0f - alpha);
            }
    }

    // Every block of factor x factor samples averaged into one pixel, 8 bits a channel.
    std::vector<unsigned char> Reduced(int factor) const {
        const int side = side_ / factor;
        std::vector<unsigned char> out(static_cast<std::size_t>(side * side * 4));
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                for (int k = 0; k < 4; ++k) {
                    float sum = 0.0f;
                    for (int j = 0; j < factor; ++j)
                        for (int i = 0; i < factor; ++i)
                            sum += colour_[static_cast<std::size_t>((y * factor + j) * side_ + x * factor + i)][k];
                    const float mean = std::min(std::max(sum / float(factor * factor), 0.0f), 1.0f);
                    out[static_cast<std::size_t>((y * side + x) * 4 + k)] = static_cast<unsigned char>(255.0f * mean + 0.5f);
                }
        return out;
    }

private:
    static float edge(const Corner& a, const Corner& b, float x, float y) {
        return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
    }
    int side_;
    std::vector<std::array<float, 4>> colour_;
    std::vector<float> depth_;
};

// OpenGL's fixed-function lighting of one vertex in the viewer's eye space
// (a viewer at infinity, no two-sided light), in the screen's own values.
std::array<float, 4> lit(const capture::Surface& s, const float* vertexColour, const LightVector& eye, const LightVector& normal,
                         const Environment& environment) {
    const bool tracked = s.ColourIsDiffuse();
    const float* diffuse = tracked ? vertexColour : s.diffuse;
    const float* ambient = tracked ? vertexColour : s.ambient;
    const Color& global = environment.lightModel.ambient;
    std::array<float, 4> out{s.emission[0] + global.red * ambient[0], s.emission[1] + global.green * ambient[1],
                             s.emission[2] + global.blue * ambient[2], diffuse[3]};
    const LightVector n = normalised(normal);
    for (const Light& light : environment.lights) {
        if (light.enabled == 0) continue;
        LightVector towards{light.position.x, light.position.y, light.position.z};
        float fade = 1.0f;
        if (light.positionW != 0.0f) {
            const float w = light.positionW;
            towards = {towards[0] / w - eye[0], towards[1] / w - eye[1], towards[2] / w - eye[2]};
            const float d = std::sqrt(LightDot(towards, towards));
            fade = 1.0f / std::max(light.constantAttenuation + light.linearAttenuation * d +
                                       light.quadraticAttenuation * d * d, 1e-6f);
        }
        const LightVector l = normalised(towards);
        const float facing = std::max(LightDot(n, l), 0.0f);
        const LightVector half = normalised({l[0], l[1], l[2] + 1.0f});
        const float shine = facing > 0.0f && s.shininess >= 0.0f
                                ? std::pow(std::max(LightDot(n, half), 0.0f), s.shininess) : 0.0f;
        const float light_ambient[3] = {light.ambient.red, light.ambient.green, light.ambient.blue};
        const float light_diffuse[3] = {light.diffuse.red, light.diffuse.green, light.diffuse.blue};
        const float light_specular[3] = {light.specular.red, light.specular.green, light.specular.blue};
        for (int k = 0; k < 3; ++k)
            out[static_cast<std::size_t>(k)] +=
                fade * (light_ambient[k] * ambient[k] + facing * light_diffuse[k] * diffuse[k] +
                        shine * light_specular[k] * s.specular[k]);
    }
    for (float& c : out) c = std::min(std::max(c, 0.0f), 1.0f);
    return out;
}

}  // namespace

std::string StillPicturePng(const ExportScene& scene, const Environment& environment, int size, bool transparent) {
    constexpr int kSamples = 2;  // per pixel and axis
    const int side = size * kSamples;
    const Color& clear = environment.clearColor;
    Canvas canvas(side, transparent ? std::array<float, 4>{0, 0, 0, 0}
                                    : std::array<float, 4>{clear.red, clear.green, clear.blue, 1.0f});
    // The viewer's first frame: one font unit a pixel, the logo's origin in the
    // middle of the window and half the depth range into it.
    const float depth = 0.5f * (environment.projection.far - environment.projection.near);
    const float half = 0.5f * float(size);
    auto onPicture = [&](const float* p) {
        return Corner{(half + p[0]) * kSamples, (half - p[1]) * kSamples, p[2], {}};
    };

    if (scene.pageShadow.on) {
        const auto& m = scene.pageShadow.matrix;
        for (const MeshGroup& group : scene.solid.groups)
            for (std::size_t i = 0; i + 2 < group.indices.size(); i += 3) {
                Corner c[3];
                for (int k = 0; k < 3; ++k) {
                    const float* p = scene.solid.vertices[group.indices[i + static_cast<std::size_t>(k)]].position;
                    float q[4];
                    for (int r = 0; r < 4; ++r) q[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
                    const float w = q[3] != 0.0f ? q[3] : 1.0f;
                    const float flat[3] = {q[0] / w, q[1] / w, q[2] / w};
                    c[k] = onPicture(flat);
                    c[k].colour = scene.pageShadow.colour;
                }
                canvas.Fill(c[0], c[1], c[2]);
            }
    }
    for (const MeshGroup& group : scene.solid.groups) {
        const capture::Surface& surface = scene.surfaces[group.surface];
        for (std::size_t i = 0; i + 2 < group.indices.size(); i += 3) {
            Corner c[3];
            for (int k = 0; k < 3; ++k) {
                const MeshVertex& v = scene.solid.vertices[group.indices[i + static_cast<std::size_t>(k)]];
                c[k] = onPicture(v.position);
                const LightVector eye{v.position[0] + half, v.position[1] + half, v.position[2] - depth};
                c[k].colour = lit(surface, v.colour, eye, {v.normal[0], v.normal[1], v.normal[2]}, environment);
            }
            canvas.Fill(c[0], c[1], c[2]);
        }
    }
    return PngBytes(canvas.Reduced(kSamples), size, size);
}
