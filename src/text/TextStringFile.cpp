#include "text/TextStringFile.h"

#include <sstream>

#include "text/TextCharacters.h"

namespace {
// One digit per character of the line, which is UTF-8.
std::string repeated(const std::string& line, char digit) { return std::string(CharacterCount(line), digit); }

const char* const kPlainSections =
    "1 1 1 1 1 1 1 1 1 1\n"          // size table
    "0 0 0 0 0 1\n0 0 0 0 0 1\n"     // band, under rule
    "0 0 0 0 0 1\n0 0 0 0 0 1\n"     // over rule, middle rule
    "0 0 0\n0 0 0\n0 0 1\n0 0 1\n"  // shadow off
    "0\n0\n"                         // no line or character object
    "0 1\n";                         // flat path, proportional spacing

// Polynomial lines (a b c) and wave lines (amplitude frequency phase) that
// leave everything still.
std::string still(int polynomials, int waves) {
    std::string out;
    for (int i = 0; i < polynomials; ++i) out += "0 0 0\n";
    for (int i = 0; i < waves; ++i) out += "0 1 0\n";
    return out;
}

const char* const kWhiteMaterial =
    "1 4 1 1\n"  // colour material on, ambient and diffuse; one material, one colour
    "0.2 0.2 0.2 1\n0.8 0.8 0.8 1\n0.6 0.6 0.6 1\n40\n0 0 0 1\n"
    "1 1 1 1\n";
}  // namespace

std::string StringFileForText(const std::string& text) {
    std::ostringstream out;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line, '|')) {
        if (line.empty()) line = " ";
        const std::string digits = repeated(line, '0');
        out << line << '\n' << digits << '\n' << digits << '\n' << digits << '\n';
    }
    out << "\\\n" << kPlainSections;
    out << still(3, 3) << still(3, 3) << still(2, 2);  // offsets, turns, shears
    out << "1 0.5 0.5\n";                               // one animation frame
    out << still(3, 3) << still(3, 3);                  // whole-logo shift and turn
    out << kWhiteMaterial;
    return out.str();
}
