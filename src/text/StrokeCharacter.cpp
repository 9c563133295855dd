#include "text/StrokeCharacter.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <istream>
#include <ostream>

#include "stroke/CircleStroke.h"
#include "stroke/DotStroke.h"
#include "stroke/LineStroke.h"
#include "stroke/PivotStroke.h"
#include "stroke/StiffStroke.h"
#include "scene/DataLine.h"
#include "scene/FieldLine.h"
#include "text/GlyphCodes.h"
#include "text/StrokeCharacterSet.h"

bool IsValidList(int name) { return name > 0 && glIsList(static_cast<GLuint>(name)) == GL_TRUE; }

StrokeCharacter::StrokeCharacter(StrokeCharacterSet* owner_) : owner(owner_) {}

StrokeCharacter::~StrokeCharacter() {
    DeleteStrokes();
    if (IsValidList(displayList)) glDeleteLists(static_cast<GLuint>(displayList), 1);
}

float StrokeCharacter::StrokeWidth() const { return owner ? owner->strokeWidth : 6.0f; }
float StrokeCharacter::StrokeHeight() const { return owner ? owner->strokeHeight : 6.0f; }
int StrokeCharacter::CapStyle() const { return owner ? owner->capStyle : 2; }
int StrokeCharacter::SectionSegments() const { return owner ? owner->sectionSegments : 8; }
float StrokeCharacter::FacetLength() const { return owner ? owner->facetLength : 1.0f; }
int StrokeCharacter::SectionShape() const { return owner ? owner->sectionShape : 0; }
int StrokeCharacter::WidthNegated() const { return owner ? owner->widthNegated : 0; }
float StrokeCharacter::SectionParameter() const { return owner ? owner->sectionParameter : 1.0f; }
float StrokeCharacter::SectionTwist() const { return owner ? owner->sectionTwist : 0.0f; }
float StrokeCharacter::SectionParameter2() const { return owner ? owner->sectionParameter2 : 0.0f; }

float StrokeCharacter::EffectiveWidth() const {
    const float w = StrokeWidth();
    const float s = SectionParameter();
    float r = w;
    switch (SectionShape()) {
        case 2:
        case 6: r = w * (s + 1.0f) * 0.5f; break;
        case 3:
        case 4: r = w * 0.2f; break;
        case 7: {
            float x = std::fabs(s * static_cast<float>(M_PI) / 2.0f);
            const float limit = 3.0f * static_cast<float>(M_PI) / 4.0f;
            if (x > limit) x = limit;
            r = (1.5f * w - w * std::sqrt(1.25f - std::cos(x))) * 0.5f;
            break;
        }
        default: break;
    }
    return std::min(r, w);
}

void StrokeCharacter::DeleteStrokes() {
    Stroke* stroke = firstStroke;
    while (stroke != nullptr) {
        Stroke* following = stroke->next;
        delete stroke;
        stroke = following;
    }
    firstStroke = lastStroke = nullptr;
}

void StrokeCharacter::AppendStroke(Stroke* stroke) {
    if (stroke == nullptr) return;
    if (firstStroke == nullptr) {
        firstStroke = lastStroke = stroke;
        return;
    }
    lastStroke->SetNext(stroke);
    stroke->SetPrev(lastStroke);
    lastStroke = stroke;
}

void StrokeCharacter::ComputeBounds() {
    minX = minY = maxX = maxY = 0.0f;
    if (owner == nullptr || firstStroke == nullptr) return;
    const float m = owner->strokeWidth;
    minX = maxX = firstStroke->start.x;
    minY = maxY = firstStroke->start.y;
    for (Stroke* stroke = firstStroke; stroke != nullptr; stroke = stroke->next) {
        float x0, x1, y0, y1;
        stroke->GetBounds(x0, x1, y0, y1);
        minX = std::min(minX, x0);
        maxX = std::max(maxX, x1);
        minY = std::min(minY, y0);
        maxY = std::max(maxY, y1);
    }
    minX -= m;
    maxX += m;
    minY -= m;
    maxY += m;
}

namespace {
// Opens a fresh list for the character, replacing a valid one; returns false
// when there is nothing to compile.
bool beginList(StrokeCharacter& character) {
    if (IsValidList(character.displayList)) glDeleteLists(static_cast<GLuint>(character.displayList), 1);
    character.displayList = -1;
    if (character.firstStroke == nullptr) return false;
    character.displayList = static_cast<int>(glGenLists(1));
    glNewList(static_cast<GLuint>(character.displayList), GL_COMPILE);
    return true;
}
}  // namespace

void StrokeCharacter::Compile() {
    if (!beginList(*this)) return;
    firstStroke->Draw();
    glEndList();
}

void StrokeFontCharacter::Compile() {
    if (!beginList(*this)) return;
    glTranslatef(-minX, 0.0f, 0.0f);
    firstStroke->Draw();
    glTranslatef(maxX, 0.0f, 0.0f);
    glEndList();
}

void StrokeCharacter::CompileCode(char32_t c) {
    for (StrokeCharacter* character = this; character != nullptr; character = character->next) {
        if (character->code != c) continue;
        if (!IsValidList(character->displayList)) character->Compile();
        return;
    }
}

void StrokeCharacter::DrawCode(char32_t c) {
    for (StrokeCharacter* character = this; character != nullptr; character = character->next) {
        if (character->code != c) continue;
        if (!IsValidList(character->displayList)) character->Compile();
        if (IsValidList(character->displayList)) glCallList(static_cast<GLuint>(character->displayList));
        return;
    }
}

namespace {
Stroke* newStroke(char letter, StrokeCharacter* owner) {
    switch (letter) {
        case 'l': return new LineStroke(owner);
        case 'p': return new PivotStroke(owner);
        case 's': return new StiffStroke(owner);
        case 'c': return new CircleStroke(owner);
        default: return nullptr;
    }
}

bool isMarker(char c) { return c == 'e' || c == 'f'; }

const char* const kPointNames[] = {"x", "y", nullptr};

// The point after a marker, where the next stroke or dot starts.
int readPoint(std::istream& in, Vector3& point, Diagnostics& report, const std::string& glyph) {
    float x = 0.0f, y = 0.0f;
    FieldLine values(FieldLine::Continuing{}, in, report, FieldName(report, glyph, " point"), kPointNames);
    int errors = ReadCoordinate(values, x);
    errors += ReadCoordinate(values, y);
    point = Vector3(x, y, 0.0f);
    if (errors == 0 && values.Reporting() && IsNearZero(Length(point)))
        values.Replaced(ShownPoint(x, y) +
                        " counts as no point: no dot can stand there, and a marker after it reads another point;"
                        " write (0.01, 0)");
    return errors;
}

// "glyph 'A' arc 3": the number counts the strokes and dots of the glyph.
std::string strokeName(const Diagnostics& report, const std::string& glyph, char letter, int number) {
    if (!report.Active()) return {};
    const char* kind = "dot";
    switch (letter) {
        case 'l': kind = "line"; break;
        case 'p': kind = "pivot stroke"; break;
        case 's': kind = "stiff stroke"; break;
        case 'c': kind = "arc"; break;
        default: break;
    }
    return FieldName(report, glyph, " ", kind, " ", number);
}

void reportBadCommand(Diagnostics& report, const std::string& glyph, char letter) {
    if (!report.Active()) return;
    report.Failure(report.Line(), glyph,
                   std::string("'") + letter +
                       "' is not a stroke command (l p s c, or the markers e f): the glyph is left without strokes");
}
void reportEmptyGlyph(Diagnostics& report) {
    if (!report.Active()) return;
    report.Failure(report.Line(), "glyph",
                   "expected a character and its strokes, found an empty line (only lines before the header may be "
                   "empty)");
}

// A marker after a stroke that ends free: 'f' gives it the open end, 'e'
// the font's cap.
void capOpenEnd(Stroke* last, char marker, int capValue) {
    if (last == nullptr || last->endCap != 0) return;
    if (marker == 'f') last->endCap = 1;
    if (marker == 'e') last->endCap = capValue;
}

// A stroke's start cap by what came before it: the open end at the start
// of a chain or after 'f', the font's cap after 'e', none (joined) after a
// stroke.
int startCapAfter(char previous, int capValue) {
    if (previous == ' ' || previous == 'f') return 1;
    return previous == 'e' ? capValue : 0;
}

}  // namespace

int StrokeCharacter::Read(std::istream& in, Diagnostics& report) {
    if (owner == nullptr) return 1;
    DeleteStrokes();
    const int capValue = CapStyle();
    char letter = 0;
    char32_t read = 0;
    if (!ReadGlyphCode(in, read)) {
        reportEmptyGlyph(report);
        return 1;
    }
    code = read;
    const std::string glyph = report.Active() ? GlyphName(code) : std::string();
    int strokes = 0;

    int errors = 0;
    Vector3 current = Origin;
    char previous = ' ';
    while (in >> letter) {
        Stroke* made = nullptr;
        if (letter == 'l' || letter == 'p' || letter == 's' || letter == 'c') {
            made = newStroke(letter, this);
        } else if (isMarker(letter) && (previous == ' ' || previous == 'd' || isMarker(previous))) {
            if (IsNearZero(Length(current)) || previous == 'd') {
                errors += readPoint(in, current, report, glyph);
            } else {
                // A marker, a point and a second marker: a dot, whose end cap
                // comes from this second marker.
                made = new DotStroke(this);
                made->endCap = (letter == 'e') ? capValue : 1;
                letter = 'd';
            }
        } else if (isMarker(letter)) {
            current = Origin;
        } else {
            reportBadCommand(report, glyph, letter);
            DeleteStrokes();
            return 1;
        }

        if (made == nullptr) {
            capOpenEnd(lastStroke, letter, capValue);
        } else {
            made->SetStart(current);
            errors += made->Read(in, report, strokeName(report, glyph, letter, ++strokes));
            current = made->end;
            made->startCap = startCapAfter(previous, capValue);
            if (lastStroke == nullptr) {
                firstStroke = made;
            } else {
                lastStroke->SetNext(made);
                made->SetPrev(lastStroke);
            }
            lastStroke = made;
        }
        previous = letter;
    }
    ComputeBounds();
    return errors;
}

int StrokeCharacter::Write(std::ostream& out) const {
    out << ' ' << GlyphCodeText(code);
    int errors = out.fail() ? 1 : 0;
    for (const Stroke* stroke = firstStroke; stroke != nullptr; stroke = stroke->next) errors += stroke->Write(out);
    out << '\n';
    return errors + (out.fail() ? 1 : 0);
}
