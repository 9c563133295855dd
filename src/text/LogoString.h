#pragma once

#include <GL/gl.h>

#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "geometry/Vector3.h"
#include "object/BasicObject.h"
#include "scene/Color.h"
#include "scene/Material.h"
#include "text/Motion.h"

class StrokeFontCharacterSet;

// True only while the shadow list is compiled: material and colour lookups
// then use the shadow's indexes.
extern bool ShadowPass;
// The tessellation step of the solid primitives, copied from the font.
extern float FacetLengthGlobal;

struct DecorationStyle {
    int enabled = 0;
    int colourMode = 0;
    int materialIndex = 0;
    int colourIndexA = 0;
    int colourIndexB = 0;
    float frequency = 1.0f;
    int Read(std::istream& in);  // five integers and a float on one significant line
};

struct ShadowPlane {
    int enabled = 0;
    int materialIndex = 0;
    int colourIndex = 0;
    Vector3 point;      // on the receiving plane
    Vector3 normal;     // of the plane, unit
    Vector3 light;      // direction of the light, unit
    GLfloat matrix[16] = {};  // column-major projection along light onto the plane

    void ComputeMatrix();
};

// What the viewer shows: the text lines, a size, material and colour per
// character, decorations, solid primitives, shadow, motion, and the colour
// and material tables the indexes refer to. Filled once from the string file.
class LogoString {
public:
    static constexpr std::size_t kMaxTextLength = 500;

    LogoString() = default;
    ~LogoString();
    LogoString(const LogoString&) = delete;
    LogoString& operator=(const LogoString&) = delete;

    // Reads the string file; 0 on success.
    int Read(std::istream& in);
    // Lines of text dropped because the text would reach kMaxTextLength.
    const std::vector<std::string>& DroppedLines() const { return droppedLines; }

    // Binds the font (not owned) and builds the width table.
    void Prepare(StrokeFontCharacterSet* font);
    void Draw();
    void DrawFrame(unsigned frame);

    float TextWidth(const std::string& line, const int* sizeDigits) const;
    float SizeFactor(unsigned index) const;
    // Lookups with their fallbacks; during the shadow pass the shadow's
    // indexes replace the given ones.
    const Material& MaterialAt(int index) const;
    const Color& ColourAt(int index) const;

    void EnsureLists();

    // ---- the record ----
    unsigned tableSize = 0;
    StrokeFontCharacterSet* font = nullptr;
    int logoList = -1;
    int shadowList = -1;
    std::unique_ptr<float[]> widthTable;
    int colourMaterialEnabled = 0;
    GLenum colourMaterialMode = GL_AMBIENT_AND_DIFFUSE;
    std::vector<Color> colours;
    std::vector<Material> materials;
    unsigned length = 0;
    unsigned lineCount = 0;
    std::string text;  // lines joined by carriage returns (13)
    float sizeTable[10] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::vector<int> sizeDigits, materialDigits, colourDigits;
    int pathMode = 0;
    int proportional = 0;
    DecorationStyle band, underRule, overRule, middleRule;
    MotionChannel offset[3];  // x, y, z, at the line parameter u
    MotionChannel turn[3];    // degrees about X, Y, Z, at the index ratio v
    MotionChannel riseShear, slant;
    unsigned frameCount = 1;
    float trailWeight = 0.5f;
    float trailRatio = 0.5f;
    MotionChannel logoShift[3];
    MotionChannel logoTurn[3];
    std::unique_ptr<BasicObject> lineObject;
    std::unique_ptr<BasicObject> characterObject;
    ShadowPlane shadow;

private:
    void BuildLogo();
    std::vector<std::string> droppedLines;
};
