#include "object/SquareFrame.h"

#include "object/FrameGeometry.h"
#include "object/OwnerFont.h"
#include "stroke/LineStroke.h"
#include "text/StrokeCharacter.h"
#include "text/StrokeCharacterSet.h"

void SquareFrame::DrawShape() {
    StrokeFontCharacterSet* font = OwnerFont(*this);
    if (font == nullptr || !FrameHasRoom(width, height, font->strokeWidth)) return;

    // Appending links each stroke to the previous one, so the corners are
    // drawn as joints; the two ends of the loop both run along Y in the middle
    // of the left side and meet flush, with neither cap nor joint.
    StrokeCharacter character(font);
    const auto path = SquareFramePath(position, width, height, font->strokeWidth);
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        character.AppendStroke(new LineStroke(&character, path[i], path[i + 1]));
    character.firstStroke->Draw();
}
