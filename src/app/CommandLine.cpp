#include "app/CommandLine.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// Like the C library's conversions: the longest valid prefix, 0 without one.
// Integers saturate instead of overflowing.
long long toInteger(const char* text) { return std::strtoll(text, nullptr, 10); }

int toInt(const char* text) {
    const long long value = toInteger(text);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// A value that is not finite (nan, inf, or beyond a float's range) is read
// as a word that is not a number: 0, with a note, so that no such number
// ever reaches OpenGL.
float toFloat(char letter, const char* text, std::vector<std::string>& notes) {
    const float value = std::strtof(text, nullptr);
    if (std::isfinite(value)) return value;
    notes.push_back(std::string("-") + letter + " " + text + " : not a finite number, using 0");
    return 0.0f;
}

// 0 means one pass; anything outside 1..kMaxPasses is brought to the nearest
// end, with a note, since a negative or huge count cannot be meant literally.
unsigned toPasses(const char* text, std::vector<std::string>& notes) {
    const long long value = toInteger(text);
    if (value == 0) return 1;
    if (value >= 1 && value <= static_cast<long long>(kMaxPasses)) return static_cast<unsigned>(value);
    const unsigned bounded = value < 1 ? 1 : kMaxPasses;
    notes.push_back("-t " + std::string(text) + " : the pass count must lie between 1 and " +
                    std::to_string(kMaxPasses) + ", using " + std::to_string(bounded));
    return bounded;
}

bool takesValue(char letter) {
    switch (letter) {
        case 'X': case 'Y': case 'Z': case 'x': case 'y': case 'r': case 'a': case 'j':
        case 't': case 'w': case 'h': case 'e': case 'f': case 's': return true;
        default: return false;
    }
}

void applyOption(char letter, const char* value, ViewState& state, std::vector<std::string>& notes) {
    switch (letter) {
        case 'X': state.rotX = toFloat(letter, value, notes); break;
        case 'Y': state.rotY = toFloat(letter, value, notes); break;
        case 'Z': state.rotZ = toFloat(letter, value, notes); break;
        case 'x': state.panX = toFloat(letter, value, notes); break;
        case 'y': state.panY = toFloat(letter, value, notes); break;
        case 'r': state.scale = toFloat(letter, value, notes); break;
        case 'a': state.aaRadius = toFloat(letter, value, notes); break;
        case 'j': state.jitterAngle = toFloat(letter, value, notes); break;
        case 't': state.passes = toPasses(value, notes); break;
        case 'w': state.width = toInt(value); break;
        case 'h': state.height = toInt(value); break;
        case 'e': state.envFile = value; break;
        case 'f': state.fontFile = value; break;
        case 's': state.stringFile = value; break;
        default: break;
    }
}

}  // namespace

std::vector<std::string> ScanCommandLine(int argc, const char* const* argv, ViewState& state) {
    std::vector<std::string> notes;
    for (int i = 1; i < argc; ++i) {
        const char* word = argv[i];
        if (word[0] != '-' || word[1] == '\0' || word[2] != '\0') continue;
        const char letter = word[1];
        // An option as the last word has no value and sets nothing.
        if (!takesValue(letter) || i + 1 >= argc) continue;
        applyOption(letter, argv[++i], state, notes);
    }
    return notes;
}

std::string FitWindowSize(int& width, int& height, int maxWidth, int maxHeight, const char* limit) {
    if (maxWidth <= 0 || maxHeight <= 0 || (width <= maxWidth && height <= maxHeight)) return {};
    const std::string asked = std::to_string(width) + " x " + std::to_string(height);
    if (width > maxWidth) width = maxWidth;
    if (height > maxHeight) height = maxHeight;
    return "-w/-h " + asked + " : the window must fit " + limit + " (" + std::to_string(maxWidth) + " x " +
           std::to_string(maxHeight) + "), using " + std::to_string(width) + " x " + std::to_string(height);
}
