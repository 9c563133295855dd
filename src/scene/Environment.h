#pragma once

#include <GL/gl.h>

#include <istream>

#include "geometry/Vector3.h"
#include "scene/Color.h"
#include "scene/Diagnostics.h"

struct LightModel {
    Color ambient{0.2f, 0.2f, 0.2f, 1.0f};
    int localViewer = 0;
    int twoSide = 0;

    // Two significant lines: the ambient colour, then local viewer and two-sided.
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent());
};

struct Projection {
    unsigned type = 0;  // 0 orthographic, 1 perspective, anything else no volume
    float width = 400.0f;
    float height = 400.0f;
    float near = -100.0f;
    float far = 1000.0f;

    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent());

    // Loads the projection matrix so that model x 0..width and y 0..height
    // span the window at the middle of the depth range; leaves the matrix mode
    // at GL_MODELVIEW.
    void Apply() const;
};

struct Light {
    GLenum lightId = GL_LIGHT0;
    int enabled = 0;
    Color ambient{0.0f, 0.0f, 0.0f, 1.0f};
    Color diffuse;
    Color specular;
    Vector3 position{0.0f, 0.0f, 1.0f};
    float positionW = 0.0f;
    Vector3 spotDirection{0.0f, 0.0f, -1.0f};
    float spotExponent = 0.0f;
    float spotCutoff = 180.0f;
    float constantAttenuation = 1.0f;
    float linearAttenuation = 0.0f;
    float quadraticAttenuation = 0.0f;

    // Six significant lines; returns the number of values that failed.
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent());
    void Apply() const;
};

struct Fog {
    int mode = 0;  // 1 linear, 2 exponential, 3 squared exponential, else none
    float density = 1.0f;
    float start = 0.0f;
    float end = 1.0f;
    Color color;

    // Two significant lines: mode, density, start, end; then the colour.
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent());
    void Apply() const;
};

// Everything about the scene that is not the logo: read once from the
// environment file, turned into OpenGL state at start-up and on reshape.
struct Environment {
    static constexpr int kLightCount = 8;

    Color clearColor;
    LightModel lightModel;
    Projection projection;
    Light lights[kLightCount];
    Fog fog;

    Environment();

    // Returns 0 on success. Lights are read while the file lasts and the
    // previous light parsed cleanly; light 0 is required.
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent());

    void ApplyClearColors() const;
    void ApplyLighting() const;
    void SetViewport(int x, int y, int w, int h);
};
