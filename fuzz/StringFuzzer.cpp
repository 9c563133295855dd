// Any bytes as a string file: read as the viewer reads it and, when it
// reads, prepared against a small font and drawn in full: every glyph list,
// the logo and shadow lists, the still frame and the first animation frames.

#include <algorithm>
#include <string>

#include "FuzzSupport.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

namespace {

// A small font with a glyph for every printable character, cheap to sweep,
// cycling through the stroke kinds: lines, stiff and pivot corners, arcs and
// dots, capped and open.
const StrokeFontCharacterSet& smallFont() {
    static StrokeFontCharacterSet* font = [] {
        const char* const glyphs[] = {"e 1 1 l 9 1 e", "f 1 1 s 9 1 s 9 9 f", "e 2 2 p 8 2 p 2 8 e",
                                      "f 5 1 c 5 5 360 f", "e 4 4 e", "e 1 1 c 5 1 -180 l 9 9 e"};
        std::string text = "2 2 6 1 2 1 0 1 0 10 14 2 4\n";
        for (int code = 33; code < 127; ++code)
            text += std::string(1, static_cast<char>(code)) + ' ' + glyphs[code % 6] + '\n';
        text.pop_back();  // a final line end would add an empty glyph
        auto* made = new StrokeFontCharacterSet;
        std::istringstream in(text);
        made->Load(in);
        return made;
    }();
    return *font;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::UseDrawBudget();
    static StrokeFontCharacterSet& font = const_cast<StrokeFontCharacterSet&>(smallFont());
    std::istringstream in = fuzz::InputStream(data, size);
    capture::Reset();
    {
        LogoString logo;
        if (logo.Read(in) != 0) return 0;  // the viewer stops at a file that does not read
        logo.Prepare(&font);
        logo.Draw();
        // The frames call the same lists under another motion: the lists
        // have been run once above, so only the motion's own calls are
        // checked here, not each list's triangles again.
        capture::DrawCalledLists(false);
        for (unsigned frame = 0; frame < std::min(logo.frameCount, 3u); ++frame) logo.DrawFrame(frame);
        capture::DrawCalledLists(true);
    }
    fuzz::RequireSoundGL("string file");
    FacetLengthGlobal = 1.0f;
    ShadowPass = false;
    return 0;
}
