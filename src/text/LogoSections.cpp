#include "text/LogoSections.h"

#include <sstream>
#include <string>

#include "object/BasicObject.h"
#include "scene/DataLine.h"
#include "text/LogoString.h"

namespace {
// Polynomials first, then waves: the order of the file.
int readChannels(std::istream& in, MotionChannel* channels, int count) {
    int errors = 0;
    for (int i = 0; i < count; ++i) errors += channels[i].polynomial.Read(in);
    for (int i = 0; i < count; ++i) errors += channels[i].wave.Read(in);
    return errors;
}

// Reads a positive value into target; anything else keeps what it holds.
template <typename T, typename U>
int readPositive(std::istream& line, U& target) {
    T value{};
    const int errors = readValue(line, value);
    if (errors == 0 && value > 0) target = static_cast<U>(value);
    return errors;
}

GLenum colourMaterialModeFromCode(int code) {
    switch (code) {
        case 0: return GL_AMBIENT;
        case 1: return GL_DIFFUSE;
        case 2: return GL_SPECULAR;
        case 3: return GL_EMISSION;
        default: return GL_AMBIENT_AND_DIFFUSE;
    }
}

int tableCount(int count) { return (count < 1 || count > 9) ? 1 : count; }
}  // namespace

int ReadSizeTable(std::istream& in, LogoString& logo) {
    std::istringstream line(readSignificantLine(in));
    int errors = 0;
    for (float& size : logo.sizeTable) errors += readValue(line, size);
    return errors;
}

int ReadDecorations(std::istream& in, LogoString& logo) {
    return logo.band.Read(in) + logo.underRule.Read(in) + logo.overRule.Read(in) + logo.middleRule.Read(in);
}

int ReadPrimitive(std::istream& in, LogoString& owner, std::unique_ptr<BasicObject>& object) {
    std::istringstream line(readSignificantLine(in));
    int kind = 0;
    int errors = readValue(line, kind);
    object = errors == 0 ? CreateBasicObject(kind, &owner) : nullptr;
    if (object) errors += object->Read(line);
    return errors;
}

int ReadLayout(std::istream& in, LogoString& logo) {
    std::istringstream line(readSignificantLine(in));
    return readValue(line, logo.pathMode) + readValue(line, logo.proportional);
}

int ReadCharacterMotion(std::istream& in, LogoString& logo) {
    int errors = readChannels(in, logo.offset, 3) + readChannels(in, logo.turn, 3);
    errors += logo.riseShear.polynomial.Read(in) + logo.slant.polynomial.Read(in);
    errors += logo.riseShear.wave.Read(in) + logo.slant.wave.Read(in);
    return errors;
}

// The frame count is read signed: a negative count would otherwise wrap to
// billions of frames per trail.
int ReadAnimation(std::istream& in, LogoString& logo) {
    std::istringstream line(readSignificantLine(in));
    return readPositive<int>(line, logo.frameCount) + readPositive<float>(line, logo.trailWeight) +
           readPositive<float>(line, logo.trailRatio);
}

int ReadLogoMotion(std::istream& in, LogoString& logo) {
    return readChannels(in, logo.logoShift, 3) + readChannels(in, logo.logoTurn, 3);
}

int ReadTables(std::istream& in, LogoString& logo) {
    std::istringstream line(readSignificantLine(in));
    int modeCode = 0, materialCount = 0, colourCount = 0;
    int errors = readValue(line, logo.colourMaterialEnabled) + readValue(line, modeCode) +
                 readValue(line, materialCount) + readValue(line, colourCount);
    logo.colourMaterialMode = colourMaterialModeFromCode(modeCode);

    logo.materials.clear();
    for (int i = 0; i < tableCount(materialCount); ++i) {
        Material material;
        errors += material.Read(in);
        if (errors != 0) return errors;
        logo.materials.push_back(material);
    }
    logo.colours.clear();
    for (int i = 0; i < tableCount(colourCount); ++i) {
        Color colour;
        errors += readColor(colour, in);
        if (errors != 0) return errors;
        logo.colours.push_back(colour);
    }
    return errors;
}
