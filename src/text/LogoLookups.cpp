#include "text/LogoString.h"
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
    if (line.empty() || font == nullptr) return 0.0f;
    const float gap = font->letterGap;
    float sum = 0.0f;
    for (std::size_t j = 0; j < line.size(); ++j) {
        const unsigned code = static_cast<unsigned char>(line[j]);
        if (code >= tableSize) continue;
        const float size = (digits != nullptr && isSizeDigit(digits[j])) ? sizeTable[digits[j]] : 1.0f;
        sum += size * (proportional == 0 ? font->spaceWidth : widthTable[code]) + gap;
    }
    return sum - gap;
}
