#include "PageConfig.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

#include "scene/Environment.h"

namespace {

using nlohmann::json;

json rgb(const Color& c) { return json::array({c.red, c.green, c.blue}); }

// The viewer places lights in the space where the window spans x 0 .. width
// and y 0 .. height and the eye looks down -z from (width/2, height/2, near);
// the page's lights are children of its camera, which sits at that eye.
struct EyeSpace {
    float width, height, near, metres;
    json Point(float x, float y, float z) const {
        return json::array({(x - 0.5f * width) * metres, (y - 0.5f * height) * metres, (z - near) * metres});
    }
};

json lightOf(const Light& light, const EyeSpace& eye) {
    json out;
    out["colour"] = rgb(light.diffuse);
    const Vector3& p = light.position;
    if (light.positionW == 0.0f) {
        // A direction the light comes from: any point along it, shining at the eye.
        const float length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        const float k = length > 0.0f ? 1.0f / length : 0.0f;
        out["kind"] = "directional";
        out["position"] = json::array({p.x * k, p.y * k, p.z * k});
        out["target"] = json::array({0.0f, 0.0f, 0.0f});
        return out;
    }
    const float w = light.positionW;
    out["position"] = eye.Point(p.x / w, p.y / w, p.z / w);
    // Attenuation that grows with distance is closest to three.js's physical falloff.
    out["decay"] = light.linearAttenuation == 0.0f && light.quadraticAttenuation == 0.0f ? 0 : 2;
    if (light.spotCutoff >= 0.0f && light.spotCutoff <= 90.0f) {
        const Vector3& d = light.spotDirection;
        out["kind"] = "spot";
        out["angle"] = light.spotCutoff;
        out["target"] = eye.Point(p.x / w + d.x, p.y / w + d.y, p.z / w + d.z);
    } else {
        out["kind"] = "point";
    }
    return out;
}

// The viewer fogs by the depth in its eye space, where the logo stands
// (far - near) / 2 deep; the page's camera stands (near + far) / 2 from it.
// Linear fog moves by the difference; three.js has no plain exponential fog,
// so both exponential kinds become the squared one that fogs the logo's
// depth as much.
json fogOf(const Fog& fog, const Projection& projection, float metres, float pageDistance) {
    const float viewerDistance = 0.5f * (projection.far - projection.near);
    const float shift = pageDistance - viewerDistance;
    json out;
    out["colour"] = rgb(fog.color);
    switch (fog.mode) {
        case 1:
            out["kind"] = "linear";
            out["near"] = (fog.start + shift) * metres;
            out["far"] = (fog.end + shift) * metres;
            return out;
        case 2:
            out["kind"] = "exp2";
            out["density"] = std::sqrt(std::max(fog.density * viewerDistance, 0.0f)) / pageDistance / metres;
            return out;
        case 3:
            out["kind"] = "exp2";
            out["density"] = fog.density * viewerDistance / pageDistance / metres;
            return out;
        default: return nullptr;
    }
}

}  // namespace

bool PageIsTransparent(const Environment& environment, const PageOptions& options) {
    return options.transparent || environment.clearColor.alpha <= 0.0f;
}

std::string PageConfigJson(const Environment& environment, const ExportScene& scene, const std::string& title,
                           const PageOptions& options, int windowWidth, int windowHeight) {
    const float metres = scene.millimetresPerUnit * 0.001f;
    const Projection& projection = environment.projection;
    const EyeSpace eye{float(windowWidth), float(windowHeight), projection.near, metres};
    // The camera stands where the viewer's eye is, (near + far) / 2 from the
    // logo; an orthographic view with that at or behind the eye keeps its
    // depth range about the logo from a little in front of it instead.
    float logoDistance = 0.5f * (projection.near + projection.far);
    float near = projection.near, far = projection.far;
    if (!(logoDistance > 0.0f)) {
        const float moved = 0.5f * std::max(far - near, 1.0f);
        near += moved - logoDistance;
        far += moved - logoDistance;
        logoDistance = moved;
    }

    json page;
    page["title"] = title;
    page["label"] = title;
    page["page"] = {{"controls", options.controls}, {"autoplay", options.autoplay}, {"fit", options.fit},
                    {"transparent", PageIsTransparent(environment, options)}, {"loop", options.loop},
                    {"view", options.view}};
    page["background"] = rgb(environment.clearColor);
    Color ambient = environment.lightModel.ambient;
    json lights = json::array();
    for (const Light& light : environment.lights) {
        if (light.enabled == 0) continue;
        ambient = ambient + light.ambient;
        lights.push_back(lightOf(light, eye));
    }
    page["ambient"] = rgb(ambient);
    page["lights"] = lights;
    page["fog"] = fogOf(environment.fog, projection, metres, logoDistance);

    const bool perspective = projection.type == 1 && projection.near > 0.0f && projection.far > projection.near;
    if (perspective) {
        near = projection.near;
        far = projection.far;
        logoDistance = 0.5f * (near + far);
    }
    page["camera"] = {
        {"kind", perspective ? "perspective" : "orthographic"},
        {"viewWidth", windowWidth * metres},
        {"viewHeight", windowHeight * metres},
        {"distance", logoDistance * metres},
        {"near", near * metres},
        {"far", far * metres},
    };
    if (scene.pageShadow.on) {
        // In metres: the translation scales with the unit, the row that makes w shrinks with it.
        std::array<float, 16> m = scene.pageShadow.matrix;
        for (int i : {12, 13, 14}) m[static_cast<std::size_t>(i)] *= metres;
        for (int i : {3, 7, 11}) m[static_cast<std::size_t>(i)] /= metres;
        page["shadow"] = {{"matrix", m}, {"colour", scene.pageShadow.colour}};
    } else {
        page["shadow"] = nullptr;
    }
    page["seconds"] = scene.loopSeconds;
    // A title from the text may hold bytes that are no UTF-8: shown as U+FFFD.
    return page.dump(-1, ' ', false, json::error_handler_t::replace);
}
