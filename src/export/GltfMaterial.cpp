#include "GltfMaterial.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <cmath>

float LinearFromSrgb(float value) {
    const float c = std::min(std::max(value, 0.0f), 1.0f);
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

double RoughnessOf(const capture::Surface& s) {
    const float strongest = std::max({s.specular[0], s.specular[1], s.specular[2]});
    if (strongest < 0.01f) return 1.0;
    return std::pow(2.0 / (static_cast<double>(s.shininess) + 2.0), 0.25);
}

void TranslateSurface(const capture::Surface& s, bool vertexColoursBelowOne, tinygltf::Material& out) {
    auto& pbr = out.pbrMetallicRoughness;
    const bool tracked = s.ColourIsDiffuse();
    if (tracked) pbr.baseColorFactor = {1.0, 1.0, 1.0, 1.0};
    else pbr.baseColorFactor = {LinearFromSrgb(s.diffuse[0]), LinearFromSrgb(s.diffuse[1]),
                                LinearFromSrgb(s.diffuse[2]), s.diffuse[3]};
    pbr.metallicFactor = 0.0;
    pbr.roughnessFactor = RoughnessOf(s);
    out.emissiveFactor = {LinearFromSrgb(s.emission[0]), LinearFromSrgb(s.emission[1]), LinearFromSrgb(s.emission[2])};
    const bool translucent = tracked ? vertexColoursBelowOne : s.diffuse[3] < 1.0f;
    out.alphaMode = translucent ? "BLEND" : "OPAQUE";
    out.doubleSided = false;
}
