#include "text/StrokeCharacterSet.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>
#include <sstream>

#include "scene/DataLine.h"
#include "scene/FieldLine.h"
#include "stroke/Stroke.h"
#include "stroke/Tessellation.h"
#include "text/GlyphCodes.h"
#include "text/StrokeCharacter.h"

namespace {
constexpr float kTwistDegreesToRadians = 0.017453293f;
constexpr double kTwistRadiansToDegrees = 180.0 * 0.31830987732601135;
constexpr float kThinnest = 0.9f;

// The base set reads the first nine.
const char* const kHeaderNames[] = {"stroke width",   "stroke height",       "section segments", "facet length",
                                    "cap style",      "section parameter 2", "section shape",    "section parameter",
                                    "section twist",  "space width",         "line height",      "letter gap",
                                    "line gap",       nullptr};

// What the setters and the drawing do to the sizes and the segment count.
void warnAboutSizes(FieldLine& header, float width, float height, int segments) {
    if (header.Found() > 0 && std::fabs(width) < kThinnest)
        header.Replaced("stroke width " + ShownValue(width) + " is thinner than 0.9 and becomes 0.9");
    if (header.Found() > 1 && std::fabs(height) < kThinnest)
        header.Replaced("stroke height " + ShownValue(height) + " is thinner than 0.9 and becomes 0.9");
    if (header.Found() > 0 && std::fabs(width) > kMaxCoordinate)
        header.Replaced("stroke width " + ShownValue(width) + " is wider than " + ShownValue(kMaxCoordinate) +
                        " and becomes " + ShownValue(kMaxCoordinate));
    if (header.Found() > 1 && std::fabs(height) > kMaxCoordinate)
        header.Replaced("stroke height " + ShownValue(height) + " is deeper than " + ShownValue(kMaxCoordinate) +
                        " and becomes " + ShownValue(kMaxCoordinate));
    if (header.Found() > 1 && height < 0.0f)
        header.Replaced("stroke height " + ShownValue(height) +
                        " is negative: its size is used, and it sets the negated width as a negative stroke width "
                        "does");
    if (header.Found() > 2 && std::abs(segments) > kMaxTessellationCount)
        header.Replaced("section segments " + std::to_string(segments) + " is kept to " +
                        std::to_string(kMaxTessellationCount) + " when drawn");
}
}  // namespace

StrokeCharacterSet::~StrokeCharacterSet() { Clear(); }

void StrokeCharacterSet::Clear() {
    StrokeCharacter* character = firstCharacter;
    while (character != nullptr) {
        StrokeCharacter* following = character->next;
        delete character;
        character = following;
    }
    firstCharacter = lastCharacter = nullptr;
}

void StrokeCharacterSet::Append(StrokeCharacter* character) {
    if (character == nullptr) return;
    character->next = nullptr;
    character->prev = lastCharacter;
    if (lastCharacter == nullptr) firstCharacter = character;
    else lastCharacter->next = character;
    lastCharacter = character;
}

StrokeCharacter* StrokeCharacterSet::NewCharacter() { return new StrokeCharacter(this); }
StrokeCharacter* StrokeFontCharacterSet::NewCharacter() { return new StrokeFontCharacter(this); }

// A stroke is no wider or deeper than a coordinate may be far: a glyph's
// extent plus a stroke width on each side must stay a finite float.
void StrokeCharacterSet::SetStrokeWidth(float value) {
    if (value < 0.0f) widthNegated = 1;
    strokeWidth = std::min(std::fabs(value), kMaxCoordinate);
    if (strokeWidth < kThinnest) strokeWidth = kThinnest;
}

void StrokeCharacterSet::SetStrokeHeight(float value) {
    if (value < 0.0f) widthNegated = 1;
    strokeHeight = std::min(std::fabs(value), kMaxCoordinate);
    if (strokeHeight < kThinnest) strokeHeight = kThinnest;
}

int StrokeCharacterSet::ReadStyle(FieldLine& header) {
    float width = strokeWidth, height = strokeHeight, twistDegrees = 0.0f;
    int errors = header.Read(width, height, sectionSegments, facetLength, capStyle, sectionParameter2, sectionShape,
                             sectionParameter, twistDegrees);
    if (header.Reporting()) warnAboutSizes(header, width, height, sectionSegments);
    SetStrokeWidth(width);
    SetStrokeHeight(height);
    header.Limit(capStyle, capStyle < 2 || capStyle > 11, 2, 4, "is outside 2..11");
    header.Limit(facetLength, !(facetLength >= 0.1f), 0.1f, 3, "is below 0.1");
    header.Limit(sectionShape, sectionShape < 0 || sectionShape > 9, 0, 6, "is outside 0..9");
    header.Limit(sectionParameter, !(sectionParameter >= 0.01f), 0.01f, 7, "is below 0.01");
    header.Limit(sectionParameter2, !(sectionParameter2 >= 0.01f), 0.01f, 5, "is below 0.01");
    sectionTwist = twistDegrees * kTwistDegreesToRadians;
    return errors;
}

int StrokeCharacterSet::ReadHeader(std::istream& in, Diagnostics& report) {
    FieldLine header(FieldLine::Continuing{}, in, report, "header", kHeaderNames);
    header.CheckRest(true);
    return ReadStyle(header);
}

int StrokeFontCharacterSet::ReadHeader(std::istream& in, Diagnostics& report) {
    FieldLine header(FieldLine::Continuing{}, in, report, "header", kHeaderNames);
    header.CheckRest(true);
    const int errors = ReadStyle(header);
    return errors + header.Read(spaceWidth, lineHeight, letterGap, lineGap);
}

int StrokeCharacterSet::WriteStyle(std::ostream& out) const {
    out << ' ' << (widthNegated ? -strokeWidth : strokeWidth) << ' ' << strokeHeight << ' ' << sectionSegments << ' '
        << facetLength << ' ' << capStyle << ' ' << sectionParameter2 << ' ' << sectionShape << ' '
        << sectionParameter << ' ' << sectionTwist * kTwistRadiansToDegrees;
    return out.fail() ? 1 : 0;
}

int StrokeCharacterSet::WriteHeader(std::ostream& out) const { return WriteStyle(out); }

int StrokeFontCharacterSet::WriteHeader(std::ostream& out) const {
    int errors = WriteStyle(out);
    out << ' ' << spaceWidth << ' ' << lineHeight << ' ' << letterGap << ' ' << lineGap;
    return errors + (out.fail() ? 1 : 0);
}

int StrokeCharacterSet::Load(std::istream& in, Diagnostics& report) {
    Clear();
    std::istringstream header(readSignificantLine(in, report));
    int errors = ReadHeader(header, report);
    GlyphCodes codes(report);
    while (!in.eof() && !in.bad()) {
        StrokeCharacter* character = NewCharacter();
        const std::string text = readRawLine(in, report);
        // The line end of the last line leaves an empty read at the very
        // end: its character counts one error, but it is no line of the file.
        const bool lastLineEnd = text.empty() && in.eof();
        std::istringstream line(text);
        errors += character->Read(line, lastLineEnd ? Diagnostics::Silent() : report);
        Append(character);
        if (!lastLineEnd) codes.Note(*character, text);
    }
    return errors;
}

int StrokeCharacterSet::MaxCode() const {
    char32_t highest = 0;
    for (const StrokeCharacter* c = firstCharacter; c != nullptr; c = c->next) highest = std::max(highest, c->code);
    return static_cast<int>(highest);
}

void StrokeCharacterSet::DrawCode(char32_t c) {
    if (firstCharacter != nullptr) firstCharacter->DrawCode(c);
}

void StrokeCharacterSet::CompileCode(char32_t c) {
    if (firstCharacter != nullptr) firstCharacter->CompileCode(c);
}

std::unique_ptr<float[]> StrokeCharacterSet::BuildWidthTable(unsigned& count) const {
    // The table ends after the highest ASCII code, as it always did for
    // fonts of ASCII alone.
    char32_t highest = 0;
    for (const StrokeCharacter* c = firstCharacter; c != nullptr; c = c->next)
        if (c->code <= static_cast<char32_t>(kLastAsciiCode)) highest = std::max(highest, c->code);
    count = static_cast<unsigned>(highest) + 1;
    std::unique_ptr<float[]> table(new float[count]());
    for (const StrokeCharacter* c = firstCharacter; c != nullptr; c = c->next)
        if (c->code < count) table[c->code] = c->maxX - c->minX;
    return table;
}

const StrokeCharacter* StrokeCharacterSet::FindDrawable(char32_t code) const {
    for (const StrokeCharacter* c = firstCharacter; c != nullptr; c = c->next)
        if (c->code == code && c->firstStroke != nullptr) return c;
    return nullptr;
}
