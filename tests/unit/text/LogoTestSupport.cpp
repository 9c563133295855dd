#include "LogoTestSupport.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "Captured.h"
#include "text/StrokeCharacter.h"

namespace logo_test {

std::string StringFile::ZeroLines(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) lines += (i ? "\n" : "") + std::string("0 0 0");
    return lines;
}

std::string StringFile::Text() const {
    std::string out;
    for (const std::string* section : {&textBlock, &sizes, &decorations, &shadow, &lineObject, &characterObject,
                                       &layout, &characterMotion, &animation, &logoMotion, &tables, &materials,
                                       &colours})
        out += *section + "\n";
    return out;
}

int ReadString(LogoString& logo, const std::string& text) {
    std::istringstream in(text);
    return logo.Read(in);
}

std::string DataFile(const std::string& name) {
    std::ifstream in(std::string(LOGO3D_TEST_DATA) + "/logo/" + name);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

std::unique_ptr<StrokeFontCharacterSet> LoadTestFont() {
    auto font = std::make_unique<StrokeFontCharacterSet>();
    std::istringstream in(DataFile("font.src"));
    font->Load(in);
    return font;
}

int GlyphList(const StrokeFontCharacterSet& font, char code) {
    for (const StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
        if (c->code == static_cast<unsigned char>(code)) return c->displayList;
    return -1;
}

std::vector<GlyphPlacement> PlacedGlyphs(const StrokeFontCharacterSet& font) {
    std::vector<GlyphPlacement> out;
    for (const capture::ListCall& call : capture::ListCalls()) {
        for (const StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next) {
            if (c->displayList <= 0 || static_cast<unsigned>(c->displayList) != call.list) continue;
            const Vector3 origin = captured::Transformed(call.modelview, Origin);
            GlyphPlacement placed{static_cast<char>(c->code), origin.x, origin.y, {}};
            std::copy(call.modelview, call.modelview + 16, placed.modelview.begin());
            out.push_back(placed);
        }
    }
    return out;
}

}  // namespace logo_test
