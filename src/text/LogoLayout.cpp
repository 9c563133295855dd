#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "text/LinePath.h"
#include "text/LogoDecorations.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

namespace {
constexpr double kDegreesPerRadian = 57.29577791868205;

struct Spacing {
    float gap, space, lineHeight, lineGap;  // A, B, H, G of the font
};

// The line being laid out: its width, the line parameter u of the pen, the
// index k of the next character within the line and the line's length.
struct LineState {
    std::size_t start = 0;
    std::size_t count = 0;
    float width = 0.0f;
    float u = 0.0f;
    unsigned k = 0;
};

// How far a distance along the line moves u; nothing on a line of no width.
float lineFraction(float distance, float width) { return IsNearZero(width) ? 0.0f : distance / width; }

std::size_t lineLength(const std::u32string& text, std::size_t start) {
    const std::size_t end = text.find(static_cast<char32_t>(LogoString::kLineSeparator), start);
    return (end == std::string::npos ? text.size() : end) - start;
}

void applyColourMaterial(const LogoString& logo) {
    if (logo.colourMaterialEnabled) {
        glColorMaterial(GL_FRONT, logo.colourMaterialMode);
        glEnable(GL_COLOR_MATERIAL);
    } else {
        glDisable(GL_COLOR_MATERIAL);
    }
}

// The tilt of a character that follows the path: extra turns about Y and Z
// in degrees, or (path mode 2) shear terms for the character matrix.
struct PathTilt {
    float turnY = 0.0f, turnZ = 0.0f;
    float shearYByX = 0.0f, shearZByX = 0.0f;
};

PathTilt tiltAlongPath(const LogoString& logo, float lineWidth, float u, float advance, float size, float height) {
    PathTilt tilt;
    if (logo.pathMode == 0) return tilt;
    const Vector3 tangent = PathTangent(logo, lineWidth, u);
    const float angleZ = SignedAngle(UnitX, tangent, UnitZ);
    if (logo.pathMode == 2) {
        // A character of no height has nothing to shear upright.
        if (!IsNearZero(size * height)) tilt.shearYByX = advance / (size * height) * std::tan(angleZ);
        tilt.shearZByX = std::tan(-SignedAngle(UnitX, tangent, UnitY));
        return tilt;
    }
    const float angleY = SignedAngle(Rotated(UnitX, UnitZ, angleZ), tangent, UnitY);
    tilt.turnY = static_cast<float>(angleY * kDegreesPerRadian);
    tilt.turnZ = static_cast<float>(angleZ * kDegreesPerRadian);
    return tilt;
}


// Where a character stands relative to its place on the straight line: the
// offset of the path, the turns in degrees and the shear matrix.
struct CharacterPose {
    Vector3 offset = Origin;
    float turnX = 0.0f, turnY = 0.0f, turnZ = 0.0f;
    GLfloat shear[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

CharacterPose poseAt(const LogoString& logo, const LineState& line, float w, float s, float lineHeight) {
    CharacterPose pose;
    pose.offset = PathOffset(logo, line.u);
    const PathTilt tilt = tiltAlongPath(logo, line.width, line.u, w, s, lineHeight);
    const float v = static_cast<float>(line.k) / static_cast<float>(line.count);
    pose.turnX = logo.turn[0].Value(v);
    pose.turnY = logo.turn[1].Value(v) + tilt.turnY;
    pose.turnZ = logo.turn[2].Value(v) + tilt.turnZ;
    pose.shear[1] += tilt.shearYByX + logo.riseShear.Value(line.u);
    pose.shear[2] += tilt.shearZByX;
    pose.shear[4] += logo.slant.Value(line.u);
    return pose;
}

void applyPose(const CharacterPose& pose) {
    glTranslatef(pose.offset.x, pose.offset.y, pose.offset.z);
    glRotatef(pose.turnX, 1.0f, 0.0f, 0.0f);
    glRotatef(pose.turnY, 0.0f, 1.0f, 0.0f);
    glRotatef(pose.turnZ, 0.0f, 0.0f, 1.0f);
    glMultMatrixf(pose.shear);
}

// The character object, the decorations and the glyph of character i, from
// the centre of its cell on the line's middle.
void drawCell(const LogoString& logo, const Spacing& f, std::size_t i, float w, float s) {
    if (logo.characterObject) {
        if (logo.proportional != 0) logo.characterObject->width = w + f.gap;
        logo.characterObject->Draw();
    }
    if (logo.pathMode == 0) DrawCharacterDecorations(logo, w + f.gap, s * f.lineHeight + f.lineGap);
    glTranslatef(0.0f, -s * f.lineHeight * 0.5f, 0.0f);
    glTranslatef(-w * 0.5f, 0.0f, 0.0f);
    glScalef(s, s, s);
    logo.MaterialAt(logo.MaterialDigit(static_cast<unsigned>(i))).Apply();
    logo.ColourAt(logo.ColourDigit(static_cast<unsigned>(i))).Apply();
    if (logo.PlainAscii(i)) logo.font->DrawCode(logo.characters[i]);
    else DrawPlan(logo.PlanAt(i));
}

// Draws character i (advance w, size s) with the pen at its left edge and
// leaves the pen at the next character's left edge.
void placeCharacter(const LogoString& logo, const Spacing& f, std::size_t i, float w, float s, LineState& line) {
    line.u += lineFraction(w * 0.5f, line.width);
    const CharacterPose pose = poseAt(logo, line, w, s, f.lineHeight);
    glTranslatef(w * 0.5f, 0.0f, 0.0f);
    glPushMatrix();
    applyPose(pose);
    // Characters of every size share the line's baseline.
    glTranslatef(0.0f, (s - 1.0f) * f.lineHeight * 0.5f, 0.0f);
    drawCell(logo, f, i, w, s);
    glPopMatrix();
    glTranslatef(w * 0.5f + f.gap, 0.0f, 0.0f);
    line.u += lineFraction(w * 0.5f + f.gap, line.width);
    ++line.k;
}

// The size digits of a line, when the record has them.
const int* lineSizeDigits(const LogoString& logo, std::size_t start, std::size_t count) {
    if (logo.sizeDigits.size() < start + count) return nullptr;
    return logo.sizeDigits.data() + start;
}

// TextWidth of the count characters from start, with their marks.
float LineWidth(const LogoString& logo, std::size_t start, std::size_t count) {
    std::map<std::size_t, std::u32string> lineMarks;
    for (auto it = logo.marks.lower_bound(start); it != logo.marks.end() && it->first < start + count; ++it)
        lineMarks[it->first - start] = it->second;
    return logo.TextWidth(logo.characters.substr(start, count), lineSizeDigits(logo, start, count), &lineMarks);
}

// Where each line starts for the alignment values 1 to 3: centred, flush
// left or flush right, the block of lines (as wide as its widest line)
// centred.
struct LineAlignment {
    int value;
    float widest;
    float LeftEdge(float width) const {
        switch (value) {
            case 2: return -widest * 0.5f;
            case 3: return widest * 0.5f - width;
            default: return -width * 0.5f;
        }
    }
};

float WidestLine(const LogoString& logo) {
    float widest = 0.0f;
    for (std::size_t start = 0; start <= logo.characters.size();) {
        const std::size_t count = lineLength(logo.characters, start);
        widest = std::max(widest, LineWidth(logo, start, count));
        start += count + 1;
    }
    return widest;
}

void beginLine(const LogoString& logo, LineState& line) {
    line.width = LineWidth(logo, line.start, line.count);
    line.u = 0.0f;
    line.k = 0;
    DrawLineDecorations(logo, line.width);
    if (logo.lineObject) {
        glPushMatrix();
        glTranslatef(line.width * 0.5f, 0.0f, 0.0f);
        logo.lineObject->Draw();
        glPopMatrix();
    }
}
}  // namespace

bool LogoString::PlainAscii(std::size_t i) const {
    return characters[i] <= static_cast<char32_t>(StrokeCharacterSet::kLastAsciiCode) && marks.count(i) == 0;
}

const std::u32string& LogoString::MarksAt(std::size_t i) const {
    static const std::u32string none;
    const auto found = marks.find(i);
    return found == marks.end() ? none : found->second;
}

GlyphPlan LogoString::PlanAt(std::size_t i) const {
    return font == nullptr ? GlyphPlan{} : PlanGlyph(*font, characters[i], MarksAt(i));
}

LogoString::Cell LogoString::CellAt(std::size_t i, float s) const {
    const char32_t code = characters[i];
    if (code == static_cast<char32_t>(kLineSeparator) && i + 1 < characters.size()) return {Cell::LineBreak, 0.0f};
    if (code == U' ') return {Cell::Space, s * font->spaceWidth};
    if (code > static_cast<char32_t>(StrokeCharacterSet::kLastAsciiCode)) {
        // Beyond ASCII, what the font cannot draw is left out.
        const GlyphPlan plan = PlanAt(i);
        if (!plan.Drawable()) return {Cell::Skipped, 0.0f};
        return {Cell::Glyph, s * (proportional == 0 ? font->spaceWidth : plan.advance)};
    }
    if (code >= tableSize) return {Cell::Skipped, 0.0f};
    const float w = s * (proportional == 0 ? font->spaceWidth : widthTable[code]);
    // A character without a glyph ends the layout.
    return {IsNearZero(w) ? Cell::EndsLayout : Cell::Glyph, w};
}

void LogoString::BuildLogo() {
    applyColourMaterial(*this);
    if (font == nullptr || characters.empty()) return;
    const Spacing f{font->letterGap, font->spaceWidth, font->lineHeight, font->lineGap};
    const float lines =
        1.0f + static_cast<float>(std::count(characters.begin(), characters.end(), char32_t(kLineSeparator)));

    LineState line;
    line.count = lineLength(characters, 0);
    // The first line is centred (or aligned); the block of lines is centred
    // vertically.
    const float firstWidth = LineWidth(*this, 0, line.count);
    const LineAlignment align{alignment, alignment >= 2 ? WidestLine(*this) : 0.0f};
    const float blockHeight = lines * f.lineHeight + (lines - 1) * f.lineGap;
    glTranslatef(alignment == 0 ? -firstWidth * 0.5f : align.LeftEdge(firstWidth),
                 blockHeight * 0.5f - f.lineHeight * 0.5f, 0.0f);
    beginLine(*this, line);

    for (std::size_t i = 0; i < characters.size(); ++i) {
        const float s = SizeFactor(static_cast<unsigned>(i));
        const Cell cell = CellAt(i, s);
        switch (cell.kind) {
            case Cell::LineBreak: {
                // Later lines start at the left edge of the first, unless
                // the lines are aligned.
                const float previous = line.width;
                line.start = i + 1;
                line.count = lineLength(characters, line.start);
                const float back = alignment == 0 ? -previous - f.gap
                                                  : -previous - f.gap +
                                                        align.LeftEdge(LineWidth(*this, line.start, line.count)) -
                                                        align.LeftEdge(previous);
                glTranslatef(back, -f.lineHeight - f.lineGap, 0.0f);
                beginLine(*this, line);
                break;
            }
            case Cell::Space:
                glTranslatef(cell.width + f.gap, 0.0f, 0.0f);
                line.u += lineFraction(cell.width + f.gap, line.width);
                ++line.k;
                break;
            case Cell::Glyph: placeCharacter(*this, f, i, cell.width, s, line); break;
            case Cell::EndsLayout: return;
            case Cell::Skipped: break;
        }
    }
}
