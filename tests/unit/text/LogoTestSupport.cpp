#include "LogoTestSupport.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "RecordingGL.h"
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
    for (const auto& placed : gl_record::PlaceCalls(gl_record::Effective(), "glCallList")) {
        const int list = static_cast<int>(placed.call.args[0]);
        for (const StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next) {
            if (c->displayList != list || list <= 0) continue;
            const auto origin = gl_record::TransformPoint(placed.modelview, 0, 0, 0);
            out.push_back({static_cast<char>(c->code), origin[0], origin[1], placed.modelview});
        }
    }
    return out;
}

bool AllArgumentsFinite() {
    for (const auto& call : gl_record::Effective())
        for (double a : call.args)
            if (!std::isfinite(a)) return false;
    return true;
}

}  // namespace logo_test
