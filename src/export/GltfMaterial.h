#pragma once

#include "capture/Capture.h"

namespace tinygltf {
struct Material;
}

// The fixed-function surface in PBR terms: diffuse to base colour (white
// when the vertex colours drive it), specular and shininess to roughness,
// emission to emissive; no metal.
void TranslateSurface(const capture::Surface& surface, bool vertexColoursBelowOne, tinygltf::Material& out);

// glTF's colours are linear; the string and environment files' colours are
// the screen's own values (sRGB), as the viewer sends them to the window.
float LinearFromSrgb(float value);

// Blinn-Phong exponent to glTF roughness, by the usual correspondence
// alpha = sqrt(2 / (n + 2)) with alpha = roughness squared; a surface
// without specular light is fully rough.
double RoughnessOf(const capture::Surface& surface);
