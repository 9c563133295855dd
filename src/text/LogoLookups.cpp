#include "text/LogoString.h"
#include "text/TextCharacters.h"
#include "text/StrokeCharacterSet.h"

namespace {
bool isSizeDigit(int digit) { return digit >= 0 && digit < 10; }

// -1 falls back in every lookup.
int digitAt(const std::vector<int>& digits, unsigned index) {
    return index < digits.size() ? digits[index] : -1;
}

template <typename T>
const T& entryOr(const std::vector<T>& entries, int index, const T& fallback) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return fallback;
    return entries[static_cast<std::size_t>(index)];
}
}  // namespace

float LogoString::SizeFactor(unsigned index) const {
    const int digit = index < length ? digitAt(sizeDigits, index) : -1;
    return isSizeDigit(digit) ? sizeTable[digit] : 1.0f;
}

int LogoString::MaterialDigit(unsigned index) const { return digitAt(materialDigits, index); }
int LogoString::ColourDigit(unsigned index) const { return digitAt(colourDigits, index); }

const Material& LogoString::MaterialAt(int index) const {
    return entryOr(materials, ShadowPass ? shadow.materialIndex : index, DefaultMaterial);
}

const Color& LogoString::ColourAt(int index) const {
    return entryOr(colours, ShadowPass ? shadow.colourIndex : index, DefaultColor);
}

float LogoString::TextWidth(const std::string& line, const int* digits) const {
    const TextCharacters decoded = DecodeText(line);
    return TextWidth(decoded.characters, digits, &decoded.marks);
}

float LogoString::TextWidth(const std::u32string& line, const int* digits,
                            const std::map<std::size_t, std::u32string>* lineMarks) const {
    if (line.empty() || font == nullptr) return 0.0f;
    const float gap = font->letterGap;
    float sum = 0.0f;
    for (std::size_t j = 0; j < line.size(); ++j) {
        const char32_t code = line[j];
        const float size = (digits != nullptr && isSizeDigit(digits[j])) ? sizeTable[digits[j]] : 1.0f;
        float width = 0.0f;
        if (code < tableSize) {
            width = proportional == 0 ? font->spaceWidth : widthTable[code];
        } else {
            if (code <= StrokeCharacterSet::kLastAsciiCode) continue;
            static const std::u32string none;
            const auto found = lineMarks == nullptr ? std::map<std::size_t, std::u32string>::const_iterator()
                                                    : lineMarks->find(j);
            const bool hasMarks = lineMarks != nullptr && found != lineMarks->end();
            const GlyphPlan plan = PlanGlyph(*font, code, hasMarks ? found->second : none);
            // What the font cannot draw is left out, with no advance.
            if (!plan.Drawable()) continue;
            width = proportional == 0 ? font->spaceWidth : plan.advance;
        }
        sum += size * width + gap;
    }
    return sum - gap;
}
