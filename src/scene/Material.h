#pragma once

#include <istream>
#include <string_view>

#include "scene/Color.h"
#include "scene/Diagnostics.h"

// A fixed-function surface material, applied to front and back faces alike.
struct Material {
    Color ambient{0.2f, 0.2f, 0.2f, 1.0f};
    Color diffuse{0.8f, 0.8f, 0.8f, 1.0f};
    Color specular{0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;
    Color emission{0.0f, 0.0f, 0.0f, 1.0f};

    // Five significant lines: ambient, diffuse, specular colours, one line of
    // shininess, emission colour. A shininess outside [0, 128] becomes 0.
    // Returns the number of values that failed to parse. name ("material 2")
    // begins the field names of the findings.
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent(), std::string_view name = {});

    void Apply() const;
};

// OpenGL's own default material, the fallback of material lookups.
extern const Material DefaultMaterial;
