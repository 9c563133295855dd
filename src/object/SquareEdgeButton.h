#pragma once

#include "object/BasicObject.h"

// A bar along X of bevelled square section turned by 45 degrees, with
// rounded flat ends that reach past the body further than it is shortened, so
// the bar comes out a quarter of its height longer than width.
class SquareEdgeButton : public BasicObject {
public:
    explicit SquareEdgeButton(LogoString* owner) : BasicObject(owner) {}

    void DrawShape() override;
};
