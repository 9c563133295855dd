#include "object/BasicObject.h"

#include <GL/gl.h>

#include <istream>
#include <ostream>
#include <sstream>

#include "scene/FieldLine.h"
#include "text/LogoString.h"

BasicObject::BasicObject(LogoString* owner_) : owner(owner_) {}

void BasicObject::Draw() {
    if (owner != nullptr) {
        owner->MaterialAt(materialIndex).Apply();
        const Color& colour = owner->ColourAt(colourIndex);
        glColor4f(colour.red, colour.green, colour.blue, colour.alpha);
    }
    // The shape places itself at position; the turn is about the origin of
    // the caller's frame, so a line object turns about the line's centre.
    glPushMatrix();
    glRotatef(angleZ, 0.0f, 0.0f, 1.0f);
    glRotatef(angleY, 0.0f, 1.0f, 0.0f);
    glRotatef(angleX, 1.0f, 0.0f, 0.0f);
    DrawShape();
    glPopMatrix();
}

namespace {
const char* const kParameterNames[] = {"x",      "y",      "z",        "width",  "height", "depth",
                                       "turn x", "turn y", "turn z", "material", "colour", nullptr};
}  // namespace

int BasicObject::Read(std::istream& in, Diagnostics& report, std::string_view field) {
    // The rest of the line the report has counted already.
    FieldLine line(FieldLine::Fetched{}, readSignificantLine(in), report, field, kParameterNames);
    return line.Read(position.x, position.y, position.z, width, height, depth, angleX, angleY, angleZ, materialIndex,
                     colourIndex);
}

namespace {
template <typename T>
int writeField(std::ostream& out, const T& value) {
    out << ' ' << value;
    return out.fail() ? 1 : 0;
}
}  // namespace

int BasicObject::Write(std::ostream& out) const {
    const int errors = writeField(out, position.x) + writeField(out, position.y) + writeField(out, position.z) +
                       writeField(out, width) + writeField(out, height) + writeField(out, depth) +
                       writeField(out, angleX) + writeField(out, angleY) + writeField(out, angleZ) +
                       writeField(out, materialIndex) + writeField(out, colourIndex);
    out << std::endl;
    return errors;
}
