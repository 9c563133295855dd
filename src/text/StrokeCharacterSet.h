#pragma once

#include <iosfwd>
#include <memory>

#include "scene/Diagnostics.h"

class FieldLine;
class StrokeCharacter;

// An ordered list of characters and the stroke style all of them use.
class StrokeCharacterSet {
public:
    StrokeCharacterSet() = default;
    virtual ~StrokeCharacterSet();
    StrokeCharacterSet(const StrokeCharacterSet&) = delete;
    StrokeCharacterSet& operator=(const StrokeCharacterSet&) = delete;

    // Reads the nine style values from one header line and applies their
    // limits; report hears of values that fail or are replaced.
    virtual int ReadHeader(std::istream& in, Diagnostics& report = Diagnostics::Silent());
    virtual int WriteHeader(std::ostream& out) const;
    virtual StrokeCharacter* NewCharacter();

    // Clears the set, reads the header and then one character per line.
    int Load(std::istream& in, Diagnostics& report = Diagnostics::Silent());
    void Append(StrokeCharacter* character);  // takes ownership
    void Clear();
    // The highest code point of the set.
    int MaxCode() const;
    void DrawCode(char32_t c);
    void CompileCode(char32_t c);
    // Widths (maxX - minX) of the ASCII codes, indexed by code; count = the
    // highest ASCII code + 1. Characters beyond ASCII are measured through
    // their glyph plans (ComposedGlyph.h), so no table grows with the codes.
    std::unique_ptr<float[]> BuildWidthTable(unsigned& count) const;
    // The first character of code that has strokes; null when none has.
    const StrokeCharacter* FindDrawable(char32_t code) const;

    static constexpr int kLastAsciiCode = 127;

    // The setters apply the header limits: the absolute value is stored (a
    // negative value sets widthNegated) and raised to 0.9 when smaller.
    void SetStrokeWidth(float value);
    void SetStrokeHeight(float value);

    StrokeCharacter* firstCharacter = nullptr;
    StrokeCharacter* lastCharacter = nullptr;
    float strokeWidth = 6.0f;
    float strokeHeight = 6.0f;
    int capStyle = 2;
    int sectionSegments = 8;
    float facetLength = 1.0f;
    int sectionShape = 0;
    int widthNegated = 0;
    float sectionParameter = 1.0f;
    float sectionTwist = 0.0f;  // radians
    float sectionParameter2 = 0.0f;

protected:
    int ReadStyle(FieldLine& header);
    int WriteStyle(std::ostream& out) const;
};

// The font: a character set with the four spacing values of text layout.
class StrokeFontCharacterSet : public StrokeCharacterSet {
public:
    int ReadHeader(std::istream& in, Diagnostics& report = Diagnostics::Silent()) override;
    int WriteHeader(std::ostream& out) const override;
    StrokeCharacter* NewCharacter() override;

    float spaceWidth = 0.7f;
    float lineHeight = 1.1f;
    float letterGap = 6.0f;
    float lineGap = 6.0f;
};
