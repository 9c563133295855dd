#pragma once

#include "object/BasicObject.h"

// A round rod along X with round ends, width long from end to end.
class RoundPole : public BasicObject {
public:
    explicit RoundPole(LogoString* owner) : BasicObject(owner) {}

    void DrawShape() override;
};
