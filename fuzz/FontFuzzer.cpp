// Any bytes as a font file: loaded, its width table built, and the glyphs of
// the first characters it defines compiled, the way a logo's text would.

#include <cmath>
#include <memory>

#include "FuzzSupport.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::UseDrawBudget();
    std::istringstream in = fuzz::InputStream(data, size);
    StrokeFontCharacterSet font;
    font.Load(in);
    unsigned count = 0;
    const std::unique_ptr<float[]> widths = font.BuildWidthTable(count);
    for (unsigned code = 0; code < count; ++code) fuzz::Require(std::isfinite(widths[code]), "non-finite width");

    capture::Reset();
    // Two glyphs keep each run short; which ones the input defines first is
    // up to the input.
    int compiled = 0;
    for (StrokeCharacter* character = font.firstCharacter; character != nullptr && compiled < 2;
         character = character->next, ++compiled)
        font.DrawCode(character->code);
    fuzz::RequireSoundGL("font");
    return 0;
}
