#include "scene/Material.h"

#include <GL/gl.h>

#include <sstream>

#include "scene/FieldLine.h"

const Material DefaultMaterial;

namespace {
const char* const kShininessName[] = {"shininess", nullptr};
}  // namespace

int Material::Read(std::istream& in, Diagnostics& report, std::string_view name) {
    int failures = readColor(ambient, in, report, FieldName(report, name, " ambient")) +
                   readColor(diffuse, in, report, FieldName(report, name, " diffuse")) +
                   readColor(specular, in, report, FieldName(report, name, " specular"));
    FieldLine shininessLine(in, report, FieldName(report, name, " shininess"), kShininessName);
    failures += shininessLine.Read(shininess);
    failures += readColor(emission, in, report, FieldName(report, name, " emission"));
    shininessLine.Limit(shininess, shininess < 0.0f || shininess > 128.0f, 0.0f, 0, "is outside 0..128");
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
