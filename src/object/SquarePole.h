#pragma once

#include "object/BasicObject.h"

// A straight bar along X with square ends, width long from end to end.
class SquarePole : public BasicObject {
public:
    explicit SquarePole(LogoString* owner) : BasicObject(owner) {}

    void DrawShape() override;
};
