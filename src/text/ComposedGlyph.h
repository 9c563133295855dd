#pragma once

#include <string>
#include <vector>

class StrokeCharacter;
class StrokeCharacterSet;

// How the font draws one character of the text beyond plain ASCII: its own
// glyph, or, when it has none, the glyph of its canonical base letter with
// each combining mark placed on it. Marks above are centred over the base's
// ink with their lowest point one stroke width above the base's highest (the
// next mark one stroke width above that one); marks below hang one stroke
// width under the base's lowest point or the baseline, whichever is lower.
// Under a mark above, i and j become the font's dotless ı and ȷ. The advance
// is always the base's. A face of ASCII alone still composes: its ' ` ^ ~
// stand for the acute, grave, circumflex and tilde, its full stop for the
// dot (two for the diaeresis), its hyphen for the macron and its comma for
// the cedilla.
struct GlyphPlan {
    struct PlacedMark {
        const StrokeCharacter* glyph;
        float dx, dy;  // moves the mark's drawn glyph (left edge at the pen) into place
    };
    const StrokeCharacter* base = nullptr;
    std::vector<PlacedMark> marks;
    float advance = 0.0f;

    bool Drawable() const { return base != nullptr; }
};

// The plan of character code followed by marks that NFC left on it; not
// drawable when neither the glyph nor the composition can be drawn. Marks
// of the text the font cannot draw are left off the base.
GlyphPlan PlanGlyph(const StrokeCharacterSet& font, char32_t code, const std::u32string& marks = {});

// The glyph the font draws for a combining mark: its own glyph of the mark
// (U+0300..U+036F) or, failing that, the spacing accent of the same shape
// (and for the acute, failing both, the apostrophe).
const StrokeCharacter* MarkGlyph(const StrokeCharacterSet& font, char32_t mark);

// Compiles every glyph of the plan (before a list is opened around them).
void CompilePlan(const GlyphPlan& plan);
// Draws the plan with the base's left edge at the pen and advances the pen.
void DrawPlan(const GlyphPlan& plan);
