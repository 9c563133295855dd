#pragma once

#include <GL/gl.h>

#include <istream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "object/BasicObject.h"
#include "scene/Color.h"
#include "scene/Diagnostics.h"
#include "scene/Material.h"
#include "text/ComposedGlyph.h"
#include "text/DecorationStyle.h"
#include "text/LogoTextBlock.h"
#include "text/Motion.h"
#include "text/ShadowPlane.h"

class StrokeFontCharacterSet;
class TableUses;

// True only while the shadow list is compiled: material and colour lookups
// then use the shadow's indexes.
extern bool ShadowPass;
// The tessellation step of the solid primitives, copied from the font.
extern float FacetLengthGlobal;

// What the viewer shows: the text lines, a size, material and colour per
// character, decorations, solid primitives, shadow, motion, and the colour
// and material tables the indexes refer to. Filled once from the string file.
class LogoString {
public:
    // The text, separators included, stays below this many characters.
    static constexpr std::size_t kMaxTextLength = 500;
    static constexpr char kLineSeparator = kTextLineSeparator;

    LogoString() = default;
    ~LogoString();
    LogoString(const LogoString&) = delete;
    LogoString& operator=(const LogoString&) = delete;

    // Reads the string file; 0 on success. report hears of every value that
    // failed or was replaced, and of indexes past the lists.
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent());
    // Lines of text dropped because the text would reach kMaxTextLength.
    const std::vector<std::string>& DroppedLines() const { return droppedLines; }
    // Where each text line came from, kept when Read was given an active
    // report (empty otherwise).
    const std::vector<LogoTextBlock::Source>& TextSources() const { return textSources; }

    // Binds the font (not owned) and builds the width table.
    void Prepare(StrokeFontCharacterSet* font);
    // Calls the logo (and shadow) lists, compiling them on the first call.
    void Draw();
    // The same at animation frame `frame` of frameCount, with the whole-logo
    // motion applied.
    void DrawFrame(unsigned frame);
    // The same at time t of the motion, 0 (frame 0) to 1 (its end), for
    // pictures sampled at any rate.
    void DrawAtTime(float t);

    // Width of one text line laid out from the font; sizeDigits (may be null)
    // holds one size digit per character of line.
    float TextWidth(const std::string& line, const int* sizeDigits) const;
    // The same for a line of characters, with the marks that stay on each
    // (may be null).
    float TextWidth(const std::u32string& line, const int* sizeDigits,
                    const std::map<std::size_t, std::u32string>* lineMarks = nullptr) const;
    // What the layout does with character i of the prepared text at size s:
    // a glyph cell of the given width, a space, a break to the next line, a
    // character past the font's codes that is left out, or one without width,
    // before which the logo ends.
    struct Cell {
        enum Kind { Glyph, Space, LineBreak, Skipped, EndsLayout } kind;
        float width;
    };
    Cell CellAt(std::size_t i, float s) const;
    // True when character i is ASCII without marks: drawn as always, by code.
    bool PlainAscii(std::size_t i) const;
    // How the font draws character i otherwise (ComposedGlyph.h).
    GlyphPlan PlanAt(std::size_t i) const;
    // The combining marks that stay with character i (empty for most).
    const std::u32string& MarksAt(std::size_t i) const;
    float SizeFactor(unsigned index) const;
    // Lookups with their fallbacks; during the shadow pass the shadow's
    // indexes replace the given ones.
    const Material& MaterialAt(int index) const;
    const Color& ColourAt(int index) const;
    // The material or colour digit of a character; -1 (which falls back)
    // beyond the digits.
    int MaterialDigit(unsigned index) const;
    int ColourDigit(unsigned index) const;

    // Compiles the glyphs of the text and the logo and shadow lists unless
    // the logo list is still valid.
    void EnsureLists();

    // ---- the record ----
    unsigned tableSize = 0;
    StrokeFontCharacterSet* font = nullptr;  // not owned
    int logoList = -1;
    int shadowList = -1;
    std::unique_ptr<float[]> widthTable;
    int colourMaterialEnabled = 0;
    GLenum colourMaterialMode = GL_AMBIENT_AND_DIFFUSE;
    std::vector<Color> colours;
    std::vector<Material> materials;
    unsigned length = 0;
    unsigned lineCount = 0;
    std::string text;  // lines joined by kLineSeparator, UTF-8
    std::u32string characters;  // the same as characters: one per digit
    std::map<std::size_t, std::u32string> marks;  // combining marks NFC left on a character
    float sizeTable[10] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    std::vector<int> sizeDigits, materialDigits, colourDigits;
    int pathMode = 0;  // 0 flat, 1 follow the path, 2 shear along it, other: turn only
    int proportional = 0;
    // 0 the first line centred and the others at its left edge; 1 every line
    // centred; 2 flush left; 3 flush right (the block centred as a whole).
    int alignment = 0;
    DecorationStyle band, underRule, overRule, middleRule;
    MotionChannel offset[3];  // x, y, z, at the line parameter u
    MotionChannel turn[3];    // degrees about X, Y, Z, at the index ratio v
    MotionChannel riseShear, slant;
    unsigned frameCount = 1;
    float trailWeight = 0.5f;
    float trailRatio = 0.5f;
    MotionChannel logoShift[3];
    MotionChannel logoTurn[3];  // degrees
    std::unique_ptr<BasicObject> lineObject;
    std::unique_ptr<BasicObject> characterObject;
    ShadowPlane shadow;

private:
    int ReadBody(std::istream& in, Diagnostics& report, TableUses& uses);
    void BuildLogo();
    void RebuildList(int& list);
    std::vector<std::string> droppedLines;
    std::vector<LogoTextBlock::Source> textSources;
};
