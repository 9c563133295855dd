#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "scene/Diagnostics.h"

// An RGBA colour; the default is opaque white. Arithmetic acts on all four
// components and never clamps.
struct Color {
    float red = 1.0f, green = 1.0f, blue = 1.0f, alpha = 1.0f;

    Color() = default;
    Color(float r, float g, float b, float a) : red(r), green(g), blue(b), alpha(a) {}

    // Makes it OpenGL's current colour.
    void Apply() const;
};

inline Color operator+(const Color& a, const Color& b) {
    return {a.red + b.red, a.green + b.green, a.blue + b.blue, a.alpha + b.alpha};
}
inline Color operator-(const Color& a, const Color& b) {
    return {a.red - b.red, a.green - b.green, a.blue - b.blue, a.alpha - b.alpha};
}
inline Color operator*(const Color& c, float s) { return {c.red * s, c.green * s, c.blue * s, c.alpha * s}; }
inline Color operator*(float s, const Color& c) { return c * s; }

// Reads one significant line of four floats (red, green, blue, alpha) and
// returns how many failed to parse. A component outside [0, 1] becomes 1.0.
// field names the line in findings ("fog colour").
int readColor(Color& color, std::istream& in, Diagnostics& report = Diagnostics::Silent(),
              std::string_view field = {});

// White, the fallback of colour lookups.
extern const Color DefaultColor;
