#include "text/LogoSections.h"

#include <sstream>
#include <string>

#include "object/BasicObject.h"
#include "scene/FieldLine.h"
#include "text/LogoString.h"
#include "text/TableUses.h"

namespace {
const char* const kAxes[3] = {"x", "y", "z"};
const char* const kKindName[] = {"kind", nullptr};
const char* const kLayoutNames[] = {"path mode", "proportional", "alignment", nullptr};
const char* const kAnimationNames[] = {"frame count", "trail weight", "trail ratio", nullptr};
const char* const kTableNames[] = {"enabled", "mode", "material count", "colour count", nullptr};

// Polynomials first, then waves, x, y, z: the order of the file. name
// begins the field names ("offset" gives "offset wave y").
int readChannels(std::istream& in, MotionChannel* channels, int count, Diagnostics& report, const char* name) {
    int errors = 0;
    for (int i = 0; i < count; ++i)
        errors += channels[i].polynomial.Read(in, report, FieldName(report, name, " polynomial ", kAxes[i]));
    for (int i = 0; i < count; ++i)
        errors += channels[i].wave.Read(in, report, FieldName(report, name, " wave ", kAxes[i]));
    return errors;
}

// Reads a positive value, the index-th of line, into target; anything else
// keeps what it holds.
template <typename T, typename U>
int readPositive(FieldLine& line, U& target, int index) {
    T value{};
    const int errors = line.Read(value);
    if (errors == 0 && value > 0) target = static_cast<U>(value);
    else if (errors == 0 && line.Reporting())
        line.Replaced(line.Subject(index) + ShownValue(static_cast<double>(value)) + " is not above 0: " +
                      ShownValue(static_cast<double>(target)) + " is kept");
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

void warnAboutTableLine(FieldLine& line, int modeCode, int materialCount, int colourCount) {
    if (line.Found() > 1 && (modeCode < 0 || modeCode > 4))
        line.Replaced("mode " + std::to_string(modeCode) + " is not 0..4: the colours drive ambient and diffuse");
    const int counts[2] = {materialCount, colourCount};
    for (int i = 0; i < 2; ++i)
        if (line.Found() > 2 + i && tableCount(counts[i]) != counts[i])
            line.Replaced(line.ValueName(2 + i) + " " + std::to_string(counts[i]) + " is outside 1..9 and becomes 1");
}
}  // namespace

int ReadSizeTable(std::istream& in, LogoString& logo, Diagnostics& report) {
    FieldLine line(in, report, "size table");
    int errors = 0;
    for (float& size : logo.sizeTable) errors += line.Read(size);
    return errors;
}

int ReadDecorations(std::istream& in, LogoString& logo, Diagnostics& report, TableUses* uses) {
    DecorationStyle* const styles[4] = {&logo.band, &logo.underRule, &logo.overRule, &logo.middleRule};
    const char* const names[4] = {"band", "under rule", "over rule", "middle rule"};
    int errors = 0;
    for (int i = 0; i < 4; ++i) {
        errors += styles[i]->Read(in, report, names[i]);
        if (uses != nullptr) uses->Decoration(report.Line(), names[i], *styles[i]);
    }
    return errors;
}

int ReadPrimitive(std::istream& in, LogoString& owner, std::unique_ptr<BasicObject>& object, Diagnostics& report,
                  std::string_view field, TableUses* uses) {
    FieldLine line(in, report, field, kKindName);
    int kind = 0;
    int errors = line.Read(kind);
    object = errors == 0 ? CreateBasicObject(kind, &owner) : nullptr;
    if (object) errors += object->Read(line.Stream(), report, field);
    // Kind 0 keeps a primitive's values for later, switched off.
    else line.CheckRest(false);
    if (errors == 0 && !object && kind != 0 && line.Reporting())
        line.Replaced("kind " + std::to_string(kind) + " is not 0..9: no primitive is drawn");
    if (uses != nullptr && errors == 0 && object) {
        uses->Material(line.Number(), std::string(field), "material", object->materialIndex);
        uses->Colour(line.Number(), std::string(field), "colour", object->colourIndex);
    }
    return errors;
}

int ReadLayout(std::istream& in, LogoString& logo, Diagnostics& report) {
    FieldLine line(in, report, "layout", kLayoutNames);
    int errors = line.Read(logo.pathMode, logo.proportional);
    if (errors == 0 && HasMoreValues(line.Stream())) {
        errors += line.Read(logo.alignment);
        line.Limit(logo.alignment, logo.alignment < 0 || logo.alignment > 3, 0, 2, "is outside 0..3");
    }
    return errors;
}

int ReadCharacterMotion(std::istream& in, LogoString& logo, Diagnostics& report) {
    int errors = readChannels(in, logo.offset, 3, report, "offset") + readChannels(in, logo.turn, 3, report, "turn");
    errors += logo.riseShear.polynomial.Read(in, report, "rise shear polynomial") +
              logo.slant.polynomial.Read(in, report, "slant polynomial");
    errors += logo.riseShear.wave.Read(in, report, "rise shear wave") + logo.slant.wave.Read(in, report, "slant wave");
    return errors;
}

// The frame count is read signed: a negative count would otherwise wrap to
// billions of frames per trail.
int ReadAnimation(std::istream& in, LogoString& logo, Diagnostics& report) {
    FieldLine line(in, report, "animation", kAnimationNames);
    return readPositive<int>(line, logo.frameCount, 0) + readPositive<float>(line, logo.trailWeight, 1) +
           readPositive<float>(line, logo.trailRatio, 2);
}

int ReadLogoMotion(std::istream& in, LogoString& logo, Diagnostics& report) {
    return readChannels(in, logo.logoShift, 3, report, "logo shift") +
           readChannels(in, logo.logoTurn, 3, report, "logo turn");
}

int ReadTables(std::istream& in, LogoString& logo, Diagnostics& report) {
    int modeCode = 0, materialCount = 0, colourCount = 0;
    int errors = 0;
    {
        FieldLine line(in, report, "colour material", kTableNames);
        errors = line.Read(logo.colourMaterialEnabled, modeCode, materialCount, colourCount);
        if (line.Reporting()) warnAboutTableLine(line, modeCode, materialCount, colourCount);
    }
    logo.colourMaterialMode = colourMaterialModeFromCode(modeCode);

    logo.materials.clear();
    for (int i = 0; i < tableCount(materialCount); ++i) {
        Material material;
        errors += material.Read(in, report, FieldName(report, "material ", i));
        if (errors != 0) return errors;
        logo.materials.push_back(material);
    }
    logo.colours.clear();
    for (int i = 0; i < tableCount(colourCount); ++i) {
        Color colour;
        errors += readColor(colour, in, report, FieldName(report, "colour ", i));
        if (errors != 0) return errors;
        logo.colours.push_back(colour);
    }
    return errors;
}
