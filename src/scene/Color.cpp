#include "scene/Color.h"

#include <GL/gl.h>

#include <sstream>

#include "scene/FieldLine.h"

const Color DefaultColor;

namespace {
const char* const kComponentNames[] = {"red", "green", "blue", "alpha", nullptr};
}  // namespace

int readColor(Color& color, std::istream& in, Diagnostics& report, std::string_view field) {
    FieldLine line(in, report, field, kComponentNames);
    const int failures = line.Read(color.red, color.green, color.blue, color.alpha);
    float* components[] = {&color.red, &color.green, &color.blue, &color.alpha};
    for (int i = 0; i < 4; ++i)
        line.Limit(*components[i], *components[i] < 0.0f || *components[i] > 1.0f, 1.0f, i, "is outside 0..1");
    return failures;
}

void Color::Apply() const { glColor4f(red, green, blue, alpha); }
