#include "text/ComposedGlyph.h"

#include <GL/gl.h>

#include <algorithm>

#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"
#include "text/TextCharacters.h"

namespace {
constexpr char32_t kDotlessI = 0x0131;
constexpr char32_t kDotlessJ = 0x0237;

// The spacing accents that stand in for a combining mark the font lacks.
char32_t spacingAccent(char32_t mark) {
    switch (mark) {
        case 0x0300: return U'`';
        case 0x0301: return 0x00B4;
        case 0x0302: return U'^';
        case 0x0303: return U'~';
        case 0x0304: return 0x00AF;
        case 0x0306: return 0x02D8;
        case 0x0307: return 0x02D9;
        case 0x0308: return 0x00A8;
        case 0x030A: return 0x02DA;
        case 0x030B: return 0x02DD;
        case 0x030C: return 0x02C7;
        case 0x0327: return 0x00B8;
        case 0x0328: return 0x02DB;
        default: return 0;
    }
}

float width(const StrokeCharacter& glyph) { return glyph.maxX - glyph.minX; }

// A mark and how many copies of it stand side by side (the diaeresis made of
// two full stops).
struct MarkShape {
    const StrokeCharacter* glyph;
    bool below;
    int copies;
};

// A mark from the punctuation of a face of ASCII alone: the full stop for a
// dot (two for the diaeresis), the hyphen for the macron, the comma for the
// cedilla.
MarkShape punctuationMark(const StrokeCharacterSet& font, char32_t mark) {
    switch (mark) {
        case 0x0307: return {font.FindDrawable(U'.'), false, 1};
        case 0x0308: return {font.FindDrawable(U'.'), false, 2};
        case 0x0304: return {font.FindDrawable(U'-'), false, 1};
        case 0x0327: return {font.FindDrawable(U','), true, 1};
        default: return {nullptr, false, 1};
    }
}

// Places the marks on the base: above ones stacked upwards from the base's
// top, below ones downwards from its foot; copies one stroke width apart.
void placeMarks(GlyphPlan& plan, const std::vector<MarkShape>& marks, float gap) {
    const StrokeCharacter& base = *plan.base;
    float top = base.maxY;
    float foot = std::min(base.minY, 0.0f);
    for (const MarkShape& mark : marks) {
        const StrokeCharacter& glyph = *mark.glyph;
        const float whole = width(glyph) * static_cast<float>(mark.copies) + gap * static_cast<float>(mark.copies - 1);
        const float dy = mark.below ? foot - gap - glyph.maxY : top + gap - glyph.minY;
        if (mark.below) foot = glyph.minY + dy;
        else top = glyph.maxY + dy;
        for (int copy = 0; copy < mark.copies; ++copy) {
            const float dx = (width(base) - whole) * 0.5f + static_cast<float>(copy) * (width(glyph) + gap);
            plan.marks.push_back({&glyph, dx, dy});
        }
    }
}

void ensureCompiled(const StrokeCharacter& glyph) {
    auto& g = const_cast<StrokeCharacter&>(glyph);
    if (!IsValidList(g.displayList)) g.Compile();
}

void callList(const StrokeCharacter& glyph) {
    ensureCompiled(glyph);
    if (IsValidList(glyph.displayList)) glCallList(static_cast<GLuint>(glyph.displayList));
}
}  // namespace

const StrokeCharacter* MarkGlyph(const StrokeCharacterSet& font, char32_t mark) {
    if (const StrokeCharacter* own = font.FindDrawable(mark)) return own;
    const char32_t accent = spacingAccent(mark);
    if (accent == 0) return nullptr;
    if (const StrokeCharacter* spacing = font.FindDrawable(accent)) return spacing;
    // A face of ASCII alone still has the apostrophe: an upright acute, as
    // the Greek tonos is.
    return mark == 0x0301 ? font.FindDrawable(U'\'') : nullptr;
}

GlyphPlan PlanGlyph(const StrokeCharacterSet& font, char32_t code, const std::u32string& textMarks) {
    GlyphPlan plan;
    std::u32string needed;  // marks that must all be drawn
    char32_t baseCode = code;
    plan.base = font.FindDrawable(code);
    if (plan.base == nullptr) {
        const std::u32string parts = CanonicalDecomposition(code);
        if (parts.size() < 2 || IsCombiningMark(parts[0])) return {};
        baseCode = parts[0];
        needed = parts.substr(1);
        plan.base = font.FindDrawable(baseCode);
        if (plan.base == nullptr) return {};
    }
    std::vector<MarkShape> marks;
    bool above = false;
    for (std::size_t i = 0; i < needed.size() + textMarks.size(); ++i) {
        const bool required = i < needed.size();
        const char32_t mark = required ? needed[i] : textMarks[i - needed.size()];
        MarkShape shape{MarkGlyph(font, mark), IsMarkBelow(mark), 1};
        if (shape.glyph == nullptr) shape = punctuationMark(font, mark);
        if (shape.glyph == nullptr) {
            if (required) return {};
            continue;
        }
        above = above || !shape.below;
        marks.push_back(shape);
    }
    if (above && (baseCode == U'i' || baseCode == U'j')) {
        const StrokeCharacter* dotless = font.FindDrawable(baseCode == U'i' ? kDotlessI : kDotlessJ);
        if (dotless != nullptr) plan.base = dotless;
    }
    plan.advance = width(*plan.base);
    placeMarks(plan, marks, font.strokeWidth);
    return plan;
}

void CompilePlan(const GlyphPlan& plan) {
    if (!plan.Drawable()) return;
    ensureCompiled(*plan.base);
    for (const GlyphPlan::PlacedMark& mark : plan.marks) ensureCompiled(*mark.glyph);
}

void DrawPlan(const GlyphPlan& plan) {
    if (!plan.Drawable()) return;
    // Each glyph's list moves the pen by its own width: the marks draw inside
    // their own matrices, and the base moves the pen last.
    for (const GlyphPlan::PlacedMark& mark : plan.marks) {
        glPushMatrix();
        glTranslatef(mark.dx, mark.dy, 0.0f);
        callList(*mark.glyph);
        glPopMatrix();
    }
    callList(*plan.base);
}
