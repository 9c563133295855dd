#include "text/TextCharacters.h"

#include <utf8proc.h>

#include <cstdio>
#include <cstdlib>

namespace {
// Decodes valid UTF-8 of the given size; false when the bytes are not.
bool decodeUtf8(const char* bytes, std::size_t size, std::u32string& out) {
    const auto* data = reinterpret_cast<const utf8proc_uint8_t*>(bytes);
    std::size_t at = 0;
    while (at < size) {
        utf8proc_int32_t code = 0;
        const utf8proc_ssize_t used = utf8proc_iterate(data + at, static_cast<utf8proc_ssize_t>(size - at), &code);
        if (used <= 0 || code < 0) return false;
        out.push_back(static_cast<char32_t>(code));
        at += static_cast<std::size_t>(used);
    }
    return true;
}

// NFC of valid UTF-8, decoded.
std::u32string composed(const std::string& bytes) {
    utf8proc_uint8_t* nfc = nullptr;
    const utf8proc_ssize_t size = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(bytes.data()),
                                               static_cast<utf8proc_ssize_t>(bytes.size()), &nfc,
                                               static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    std::u32string result;
    if (size < 0 || !decodeUtf8(reinterpret_cast<const char*>(nfc), static_cast<std::size_t>(size), result)) {
        result.clear();
        decodeUtf8(bytes.data(), bytes.size(), result);
    }
    std::free(nfc);
    return result;
}

// Keeps at most maxCharacters characters; a mark stays with the character
// before it, and so does not count.
void group(const std::u32string& codes, std::size_t maxCharacters, TextCharacters& text) {
    for (char32_t code : codes) {
        if (IsCombiningMark(code) && !text.characters.empty()) {
            text.marks[text.characters.size() - 1].push_back(code);
            continue;
        }
        if (text.characters.size() >= maxCharacters) break;
        text.characters.push_back(code);
    }
}
}  // namespace

TextCharacters DecodeText(const std::string& bytes, std::size_t maxCharacters) {
    TextCharacters text;
    std::u32string codes;
    if (decodeUtf8(bytes.data(), bytes.size(), codes)) {
        group(composed(bytes), maxCharacters, text);
        return text;
    }
    text.latin1 = true;
    for (std::size_t i = 0; i < bytes.size() && i < maxCharacters; ++i)
        text.characters.push_back(static_cast<unsigned char>(bytes[i]));
    return text;
}

std::size_t CharacterCount(const std::string& bytes) { return DecodeText(bytes).characters.size(); }

std::string Utf8(char32_t code) {
    utf8proc_uint8_t buffer[4];
    const utf8proc_ssize_t n = utf8proc_encode_char(static_cast<utf8proc_int32_t>(code), buffer);
    return std::string(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n > 0 ? n : 0));
}

std::string Utf8(const std::u32string& text) {
    std::string out;
    for (char32_t code : text) out += Utf8(code);
    return out;
}

std::string Utf8(const TextCharacters& text) {
    std::string out;
    for (std::size_t i = 0; i < text.characters.size(); ++i) {
        out += Utf8(text.characters[i]);
        const auto marks = text.marks.find(i);
        if (marks != text.marks.end()) out += Utf8(marks->second);
    }
    return out;
}

bool IsCombiningMark(char32_t code) {
    switch (utf8proc_category(static_cast<utf8proc_int32_t>(code))) {
        case UTF8PROC_CATEGORY_MN:
        case UTF8PROC_CATEGORY_MC:
        case UTF8PROC_CATEGORY_ME: return true;
        default: return false;
    }
}

bool IsMarkBelow(char32_t code) {
    const int ccc = utf8proc_get_property(static_cast<utf8proc_int32_t>(code))->combining_class;
    return ccc == 202 || ccc == 220 || ccc == 218 || ccc == 222;
}

std::u32string CanonicalDecomposition(char32_t code) {
    utf8proc_int32_t buffer[16];
    int last = 0;
    const utf8proc_ssize_t n = utf8proc_decompose_char(static_cast<utf8proc_int32_t>(code), buffer, 16,
                                                       UTF8PROC_DECOMPOSE, &last);
    if (n <= 0 || n > 16) return std::u32string(1, code);
    std::u32string out;
    for (utf8proc_ssize_t i = 0; i < n; ++i) out.push_back(static_cast<char32_t>(buffer[i]));
    return out;
}

std::string CodePointName(char32_t code) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(code));
    return name;
}

std::string ShownCharacter(char32_t code, const std::string& place) {
    const bool printable = code < 0x80;
    const bool drawable = code > 0x9F && utf8proc_codepoint_valid(static_cast<utf8proc_int32_t>(code)) &&
                          !IsCombiningMark(code);
    const std::string where = place.empty() ? "" : ", " + place;
    if (printable) return std::string("'") + static_cast<char>(code) + "'" + (place.empty() ? "" : " (" + place + ")");
    if (drawable) return "'" + Utf8(code) + "' (" + CodePointName(code) + where + ")";
    return CodePointName(code) + (place.empty() ? "" : " (" + place + ")");
}
