#include <GL/gl.h>

#include "text/ComposedGlyph.h"
#include "text/LogoString.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

bool ShadowPass = false;
float FacetLengthGlobal = 1.0f;

namespace {
constexpr unsigned char kSpace = 32;

void deleteList(int& list) {
    if (IsValidList(list)) glDeleteLists(static_cast<GLuint>(list), 1);
    list = -1;
}

void callList(int list) {
    if (list > 0) glCallList(static_cast<GLuint>(list));
}

void applyLogoMotion(const LogoString& logo, float t) {
    glTranslatef(logo.logoShift[0].Value(t), logo.logoShift[1].Value(t), logo.logoShift[2].Value(t));
    glRotatef(logo.logoTurn[0].Value(t), 1.0f, 0.0f, 0.0f);
    glRotatef(logo.logoTurn[1].Value(t), 0.0f, 1.0f, 0.0f);
    glRotatef(logo.logoTurn[2].Value(t), 0.0f, 0.0f, 1.0f);
}
}  // namespace

LogoString::~LogoString() {
    deleteList(logoList);
    deleteList(shadowList);
}

void LogoString::Prepare(StrokeFontCharacterSet* newFont) {
    // The font belongs to the caller; only what was built from the previous
    // one is dropped, so that the next draw lays the text out afresh.
    widthTable.reset();
    tableSize = 0;
    deleteList(logoList);
    deleteList(shadowList);
    font = newFont;
    if (font == nullptr) return;
    widthTable = font->BuildWidthTable(tableSize);
    if (tableSize > kSpace) widthTable[kSpace] = font->spaceWidth;
    FacetLengthGlobal = font->facetLength;
}

void LogoString::RebuildList(int& list) {
    deleteList(list);
    list = static_cast<int>(glGenLists(1));
    glNewList(static_cast<GLuint>(list), GL_COMPILE);
    BuildLogo();
    glEndList();
}

void LogoString::EnsureLists() {
    if (font == nullptr || IsValidList(logoList)) return;
    // Every glyph gets its own list first: lists cannot be opened while the
    // logo list is being compiled.
    glPushMatrix();
    for (std::size_t i = 0; i < characters.size(); ++i) {
        if (PlainAscii(i)) font->CompileCode(characters[i]);
        else CompilePlan(PlanAt(i));
    }
    glPopMatrix();
    ShadowPass = false;
    RebuildList(logoList);
    if (shadow.enabled) {
        ShadowPass = true;
        RebuildList(shadowList);
        // Lookups made later, outside the shadow list, use their own indexes.
        ShadowPass = false;
    }
}

void LogoString::Draw() {
    EnsureLists();
    if (shadow.enabled) {
        glPushMatrix();
        glMultMatrixf(shadow.matrix);
        callList(shadowList);
        glPopMatrix();
    }
    glPushMatrix();
    callList(logoList);
    glPopMatrix();
}

void LogoString::DrawFrame(unsigned frame) {
    DrawAtTime(static_cast<float>(frame) / static_cast<float>(frameCount == 0 ? 1 : frameCount));
}

void LogoString::DrawAtTime(float t) {
    EnsureLists();
    t = t > 1.0f ? 1.0f : t < 0.0f ? 0.0f : t;
    if (shadow.enabled) {
        glPushMatrix();
        glMultMatrixf(shadow.matrix);
        applyLogoMotion(*this, t);
        glPushMatrix();
        callList(shadowList);
        glPopMatrix();
        glPopMatrix();
    }
    glPushMatrix();
    applyLogoMotion(*this, t);
    glPushMatrix();
    callList(logoList);
    glPopMatrix();
    glPopMatrix();
}
