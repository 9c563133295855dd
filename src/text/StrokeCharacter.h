#pragma once

#include <iosfwd>

#include "scene/Diagnostics.h"

class Stroke;
class StrokeCharacterSet;

// One glyph: a chain of strokes, the code it stands for, its bounding box and
// the display list of its compiled geometry. All stroke style values come from
// the owner set through the getters; without an owner they have fixed defaults.
class StrokeCharacter {
public:
    explicit StrokeCharacter(StrokeCharacterSet* owner = nullptr);
    virtual ~StrokeCharacter();
    StrokeCharacter(const StrokeCharacter&) = delete;
    StrokeCharacter& operator=(const StrokeCharacter&) = delete;

    virtual float StrokeWidth() const;
    virtual float StrokeHeight() const;
    virtual int CapStyle() const;
    virtual int SectionSegments() const;
    virtual float FacetLength() const;
    virtual int SectionShape() const;
    virtual int WidthNegated() const;
    virtual float SectionParameter() const;
    virtual float SectionTwist() const;
    virtual float SectionParameter2() const;
    // The half width the section shape really has across the stroke, never
    // more than StrokeWidth.
    virtual float EffectiveWidth() const;

    // Compiles the stroke chain into the display list (replacing a valid one).
    virtual void Compile();
    // Compiles the first character of this list and its successors whose code
    // is c and whose list is not valid.
    virtual void CompileCode(char32_t c);
    // Reads one glyph line: the code (a character in UTF-8, or U+ and hex
    // digits), then stroke commands. Returns the error
    // count; a bad command letter leaves the character with no strokes.
    // report hears of it, naming the stroke and the line it fetched last.
    virtual int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent());
    virtual int Write(std::ostream& out) const;

    // Appends a stroke (owned from now on) and links it after the last one.
    void AppendStroke(Stroke* stroke);
    void ComputeBounds();
    // Draws the first character of this list whose code is c, compiling it first
    // when its list is not valid.
    void DrawCode(char32_t c);
    // Deletes every stroke of the chain.
    void DeleteStrokes();

    char32_t code = U' ';  // a code point
    Stroke* firstStroke = nullptr;
    Stroke* lastStroke = nullptr;
    StrokeCharacter* prev = nullptr;
    StrokeCharacter* next = nullptr;
    StrokeCharacterSet* owner;
    int displayList = -1;
    float minX = 0.0f, minY = 0.0f, maxX = 0.0f, maxY = 0.0f;
};

// The glyph kind of the font: its list puts the glyph's left edge at the
// current origin and leaves the pen advanced by the glyph's width.
class StrokeFontCharacter : public StrokeCharacter {
public:
    using StrokeCharacter::StrokeCharacter;

    void Compile() override;
};

// True when name is a display list that exists.
bool IsValidList(int name);
