#include "DrawnText.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "export/ExportScene.h"
#include "text/DataFileLoading.h"
#include "text/LogoString.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"
#include "text/TextStringFile.h"

DrawnLogo DrawnText(const std::string& fontFile, const SweepStyle& style, const std::string& text) {
    StrokeFontCharacterSet font;
    std::ostringstream errors;
    EXPECT_TRUE(LoadFont(fontFile, font, errors)) << errors.str();
    if (style.shape >= 0) font.sectionShape = style.shape;
    if (style.cap >= 0) font.capStyle = style.cap;
    LogoString logo;
    std::istringstream in(StringFileForText(text));
    EXPECT_EQ(logo.Read(in), 0);
    const CapturedLogo captured = CaptureLogo(logo, font, -1, false);
    std::set<unsigned> glyphLists;
    for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
        if (c->displayList > 0) glyphLists.insert(static_cast<unsigned>(c->displayList));
    const auto isGlyph = [glyphLists](const capture::Triangle& t) { return glyphLists.count(t.innerList) > 0; };
    return DrawnLogoOf(captured, SurfaceNames(captured.surfaces, logo), isGlyph, font.strokeWidth);
}
