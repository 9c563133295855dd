// The few utf8proc functions the core calls, for the WebAssembly build:
// Debian ships utf8proc for the machine only, and the browser (or node)
// that runs the module already knows Unicode. Normalisation and the
// general categories come from JavaScript's own String.normalize and
// Unicode property escapes, so the studio composes and groups characters
// as the native tools do; decoding and encoding are plain UTF-8.

#include <emscripten.h>
#include <utf8proc.h>

#include <cstdlib>
#include <cstring>

namespace {

// The text normalised by the JavaScript engine (form 0: NFC, 1: NFD), as
// UTF-8 in memory from malloc, or null.
EM_JS(char*, normalisedByTheEngine, (const char* text, int size, int form), {
    const normalised = UTF8ToString(text, size).normalize(form ? 'NFD' : 'NFC');
    const bytes = lengthBytesUTF8(normalised) + 1;
    const out = _malloc(bytes);
    if (out) stringToUTF8(normalised, out, bytes);
    return out;
});

// 1, 2, 3 for the mark categories Mn, Mc, Me; 0 for anything else.
EM_JS(int, markCategory, (int code), {
    let c;
    try { c = String.fromCodePoint(code); } catch (e) { return 0; }
    // The patterns are built from strings, which the build's JavaScript tools
    // do not parse as patterns (their parser predates property escapes); the
    // code reaches JavaScript through a C string, so each backslash is
    // written twice over.
    const kinds = ['Mn', 'Mc', 'Me'];
    for (let i = 0; i < 3; ++i)
        if (new RegExp('\\\\p{' + kinds[i] + '}', 'u').test(c)) return i + 1;
    return 0;
});

// The canonical combining class of the marks below a letter among the
// combining diacritical marks (the marks a font can carry); every other
// mark counts as one above.
int combiningClass(utf8proc_int32_t code) {
    if (code == 0x0321 || code == 0x0322 || code == 0x0327 || code == 0x0328) return 202;
    const bool below = (code >= 0x0316 && code <= 0x0319) || (code >= 0x031C && code <= 0x0320) ||
                       (code >= 0x0323 && code <= 0x0326) || (code >= 0x0329 && code <= 0x0333) ||
                       (code >= 0x0339 && code <= 0x033C) || (code >= 0x0347 && code <= 0x0349) ||
                       code == 0x034D || code == 0x034E || (code >= 0x0353 && code <= 0x0356) ||
                       code == 0x0359 || code == 0x035A;
    if (below) return 220;
    return markCategory(code) != 0 ? 230 : 0;
}

}  // namespace

extern "C" {

utf8proc_ssize_t utf8proc_iterate(const utf8proc_uint8_t* str, utf8proc_ssize_t strlen,
                                  utf8proc_int32_t* codepoint_ref) {
    *codepoint_ref = -1;
    if (strlen == 0) return 0;
    const utf8proc_uint8_t first = str[0];
    int length = first < 0x80 ? 1 : first < 0xC2 ? 0 : first < 0xE0 ? 2 : first < 0xF0 ? 3 : first < 0xF5 ? 4 : 0;
    if (length == 0) return UTF8PROC_ERROR_INVALIDUTF8;
    if (strlen >= 0 && length > strlen) return UTF8PROC_ERROR_INVALIDUTF8;
    utf8proc_int32_t code = length == 1 ? first : first & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((str[i] & 0xC0) != 0x80) return UTF8PROC_ERROR_INVALIDUTF8;
        code = (code << 6) | (str[i] & 0x3F);
    }
    const utf8proc_int32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || !utf8proc_codepoint_valid(code)) return UTF8PROC_ERROR_INVALIDUTF8;
    *codepoint_ref = code;
    return length;
}

utf8proc_bool utf8proc_codepoint_valid(utf8proc_int32_t code) {
    return code >= 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
}

utf8proc_ssize_t utf8proc_encode_char(utf8proc_int32_t code, utf8proc_uint8_t* dst) {
    if (code < 0) return 0;
    if (code < 0x80) {
        dst[0] = static_cast<utf8proc_uint8_t>(code);
        return 1;
    }
    if (code < 0x800) {
        dst[0] = static_cast<utf8proc_uint8_t>(0xC0 | (code >> 6));
        dst[1] = static_cast<utf8proc_uint8_t>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        dst[0] = static_cast<utf8proc_uint8_t>(0xE0 | (code >> 12));
        dst[1] = static_cast<utf8proc_uint8_t>(0x80 | ((code >> 6) & 0x3F));
        dst[2] = static_cast<utf8proc_uint8_t>(0x80 | (code & 0x3F));
        return 3;
    }
    if (code <= 0x10FFFF) {
        dst[0] = static_cast<utf8proc_uint8_t>(0xF0 | (code >> 18));
        dst[1] = static_cast<utf8proc_uint8_t>(0x80 | ((code >> 12) & 0x3F));
        dst[2] = static_cast<utf8proc_uint8_t>(0x80 | ((code >> 6) & 0x3F));
        dst[3] = static_cast<utf8proc_uint8_t>(0x80 | (code & 0x3F));
        return 4;
    }
    return 0;
}

utf8proc_category_t utf8proc_category(utf8proc_int32_t code) {
    switch (markCategory(code)) {
        case 1: return UTF8PROC_CATEGORY_MN;
        case 2: return UTF8PROC_CATEGORY_MC;
        case 3: return UTF8PROC_CATEGORY_ME;
        default: return UTF8PROC_CATEGORY_CN;
    }
}

const utf8proc_property_t* utf8proc_get_property(utf8proc_int32_t code) {
    static utf8proc_property_t property;
    std::memset(&property, 0, sizeof property);
    property.combining_class = static_cast<utf8proc_propval_t>(combiningClass(code));
    return &property;
}

// The canonical decomposition, as NFD gives it.
utf8proc_ssize_t utf8proc_decompose_char(utf8proc_int32_t code, utf8proc_int32_t* dst, utf8proc_ssize_t bufsize,
                                         utf8proc_option_t, int*) {
    utf8proc_uint8_t bytes[4];
    const utf8proc_ssize_t size = utf8proc_encode_char(code, bytes);
    if (size <= 0) return UTF8PROC_ERROR_NOTASSIGNED;
    char* decomposed = normalisedByTheEngine(reinterpret_cast<const char*>(bytes), static_cast<int>(size), 1);
    if (decomposed == nullptr) return UTF8PROC_ERROR_NOMEM;
    const auto* at = reinterpret_cast<const utf8proc_uint8_t*>(decomposed);
    utf8proc_ssize_t left = static_cast<utf8proc_ssize_t>(std::strlen(decomposed)), count = 0;
    while (left > 0) {
        utf8proc_int32_t part = 0;
        const utf8proc_ssize_t used = utf8proc_iterate(at, left, &part);
        if (used <= 0) break;
        if (count < bufsize) dst[count] = part;
        ++count;
        at += used;
        left -= used;
    }
    std::free(decomposed);
    return count;
}

// Only NFC is asked for (UTF8PROC_COMPOSE); the result is malloc'ed, as
// utf8proc_map's is.
utf8proc_ssize_t utf8proc_map(const utf8proc_uint8_t* str, utf8proc_ssize_t strlen, utf8proc_uint8_t** dstptr,
                              utf8proc_option_t options) {
    *dstptr = nullptr;
    const int form = (options & UTF8PROC_COMPOSE) ? 0 : 1;
    char* normalised = normalisedByTheEngine(reinterpret_cast<const char*>(str), static_cast<int>(strlen), form);
    if (normalised == nullptr) return UTF8PROC_ERROR_NOMEM;
    *dstptr = reinterpret_cast<utf8proc_uint8_t*>(normalised);
    return static_cast<utf8proc_ssize_t>(std::strlen(normalised));
}

}  // extern "C"
