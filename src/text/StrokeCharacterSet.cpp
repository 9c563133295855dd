#include "text/StrokeCharacterSet.h"

#include <cmath>
#include <istream>
#include <ostream>
#include <sstream>

#include "scene/DataLine.h"
#include "text/StrokeCharacter.h"

namespace {
constexpr float kDegreesToRadians = 0.017453293f;
constexpr double kRadiansToDegrees = 180.0 * 0.31830987732601135;
constexpr float kThinnest = 0.9f;
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

void StrokeCharacterSet::SetStrokeWidth(float value) {
    if (value < 0.0f) widthNegated = 1;
    strokeWidth = std::fabs(value);
    if (strokeWidth < kThinnest) strokeWidth = kThinnest;
}

void StrokeCharacterSet::SetStrokeHeight(float value) {
    if (value < 0.0f) widthNegated = 1;
    strokeHeight = std::fabs(value);
    if (strokeHeight < kThinnest) strokeHeight = kThinnest;
}

int StrokeCharacterSet::ReadStyle(std::istream& in) {
    float width = strokeWidth, height = strokeHeight, twistDegrees = 0.0f;
    int errors = readValue(in, width) + readValue(in, height) + readValue(in, sectionSegments) +
                 readValue(in, facetLength) + readValue(in, capStyle) + readValue(in, sectionParameter2) +
                 readValue(in, sectionShape) + readValue(in, sectionParameter) + readValue(in, twistDegrees);
    SetStrokeWidth(width);
    SetStrokeHeight(height);
    if (capStyle < 2 || capStyle > 11) capStyle = 2;
    if (!(facetLength >= 0.1f)) facetLength = 0.1f;
    if (sectionShape < 0 || sectionShape > 9) sectionShape = 0;
    if (!(sectionParameter >= 0.01f)) sectionParameter = 0.01f;
    if (!(sectionParameter2 >= 0.01f)) sectionParameter2 = 0.01f;
    sectionTwist = twistDegrees * kDegreesToRadians;
    return errors;
}

int StrokeCharacterSet::ReadHeader(std::istream& in) { return ReadStyle(in); }

int StrokeFontCharacterSet::ReadHeader(std::istream& in) {
    int errors = ReadStyle(in);
    return errors + readValue(in, spaceWidth) + readValue(in, lineHeight) + readValue(in, letterGap) +
           readValue(in, lineGap);
}

int StrokeCharacterSet::WriteStyle(std::ostream& out) const {
    out << ' ' << (widthNegated ? -strokeWidth : strokeWidth) << ' ' << strokeHeight << ' ' << sectionSegments << ' '
        << facetLength << ' ' << capStyle << ' ' << sectionParameter2 << ' ' << sectionShape << ' '
        << sectionParameter << ' ' << sectionTwist * kRadiansToDegrees;
    return out.fail() ? 1 : 0;
}

int StrokeCharacterSet::WriteHeader(std::ostream& out) const { return WriteStyle(out); }

int StrokeFontCharacterSet::WriteHeader(std::ostream& out) const {
    int errors = WriteStyle(out);
    out << ' ' << spaceWidth << ' ' << lineHeight << ' ' << letterGap << ' ' << lineGap;
    return errors + (out.fail() ? 1 : 0);
}

int StrokeCharacterSet::Load(std::istream& in) {
    Clear();
    std::istringstream header(readSignificantLine(in));
    int errors = ReadHeader(header);
    while (!in.eof() && !in.bad()) {
        StrokeCharacter* character = NewCharacter();
        std::istringstream line(readRawLine(in));
        errors += character->Read(line);
        Append(character);
    }
    return errors;
}

int StrokeCharacterSet::MaxCode() const {
    int highest = 0;
    for (const StrokeCharacter* c = firstCharacter; c != nullptr; c = c->next) {
        int code = static_cast<unsigned char>(c->code);
        if (code > highest) highest = code;
    }
    return highest;
}

void StrokeCharacterSet::DrawCode(char c) {
    if (firstCharacter != nullptr) firstCharacter->DrawCode(c);
}

void StrokeCharacterSet::CompileCode(char c) {
    if (firstCharacter != nullptr) firstCharacter->CompileCode(c);
}

std::unique_ptr<float[]> StrokeCharacterSet::BuildWidthTable(unsigned& count) const {
    count = static_cast<unsigned>(MaxCode()) + 1;
    std::unique_ptr<float[]> table(new float[count]());
    for (const StrokeCharacter* c = firstCharacter; c != nullptr; c = c->next)
        table[static_cast<unsigned char>(c->code)] = c->maxX - c->minX;
    return table;
}
