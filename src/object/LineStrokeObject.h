#pragma once

#include "object/BasicObject.h"

// A bar along X drawn like a stroke of the letters: the section and the caps
// come from the owner's font. Without an owner or before the text has a font
// it has nothing to look like and draws nothing.
class LineStrokeObject : public BasicObject {
public:
    explicit LineStrokeObject(LogoString* owner) : BasicObject(owner) {}

    void DrawShape() override;
};
