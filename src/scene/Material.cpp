#include "scene/Material.h"

#include <GL/gl.h>

#include <sstream>

#include "scene/DataLine.h"

const Material DefaultMaterial;

int Material::Read(std::istream& in) {
    int failures = readColor(ambient, in) + readColor(diffuse, in) + readColor(specular, in);
    std::istringstream shininessLine(readSignificantLine(in));
    failures += readValue(shininessLine, shininess);
    failures += readColor(emission, in);
    if (shininess < 0.0f || shininess > 128.0f) shininess = 0.0f;
    return failures;
}

namespace {
void applyBothFaces(GLenum property, const Color& c) {
    const GLfloat values[4] = {c.red, c.green, c.blue, c.alpha};
    glMaterialfv(GL_FRONT, property, values);
    glMaterialfv(GL_BACK, property, values);
}
}  // namespace

void Material::Apply() const {
    applyBothFaces(GL_AMBIENT, ambient);
    applyBothFaces(GL_DIFFUSE, diffuse);
    applyBothFaces(GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, shininess);
    glMaterialf(GL_BACK, GL_SHININESS, shininess);
    applyBothFaces(GL_EMISSION, emission);
}
