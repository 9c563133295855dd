#pragma once

#include <cstddef>
#include <map>
#include <string>

// The characters of a line of text. Text is UTF-8, normalised to NFC: one
// character is one code point, and a combining mark that NFC cannot join to
// the character before it stays with that character (it takes no digit and
// no advance of its own). A line that is not valid UTF-8 is read, whole, as
// Latin-1, one character per byte, so that old files keep working.
struct TextCharacters {
    std::u32string characters;
    // Combining marks that stay with the character at the key's index.
    std::map<std::size_t, std::u32string> marks;
    bool latin1 = false;  // the bytes were not UTF-8
};

// Decodes a line into at most maxCharacters characters.
TextCharacters DecodeText(const std::string& bytes, std::size_t maxCharacters = std::string::npos);

// How many characters a line of text holds (without reading it whole).
std::size_t CharacterCount(const std::string& bytes);

// True for a byte that continues a UTF-8 character: a line fetcher never cuts
// before one.
inline bool IsContinuationByte(unsigned char byte) { return (byte & 0xC0) == 0x80; }

std::string Utf8(char32_t code);
std::string Utf8(const std::u32string& text);
// The characters with their marks.
std::string Utf8(const TextCharacters& text);

// A combining mark (Unicode general category Mn, Mc or Me).
bool IsCombiningMark(char32_t code);
// Marks below the letter (cedilla, ogonek, dot below...) by their combining class.
bool IsMarkBelow(char32_t code);
// The canonical decomposition of code, fully applied: a base and its marks.
// Returns the code itself when it has none.
std::u32string CanonicalDecomposition(char32_t code);

// "U+0436".
std::string CodePointName(char32_t code);
// How findings show a character and its place ("column 5"): 'A' (column 5)
// for ASCII, 'ж' (U+0436, column 5) beyond it, U+0085 (column 5)
// for what cannot be shown.
std::string ShownCharacter(char32_t code, const std::string& place = "");
// The column of the character at index within its line, counted in
// characters from 1: every finding about a place in a text line uses it.
inline std::size_t CharacterColumn(std::size_t index) { return index + 1; }
