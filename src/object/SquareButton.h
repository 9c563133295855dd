#pragma once

#include "object/BasicObject.h"

// A rectangular plate in the XY plane facing +Z whose four edges slope back at
// 45 degrees: the face is inset by the depth on every side and the base lies
// one depth behind it. No back face is drawn.
class SquareButton : public BasicObject {
public:
    explicit SquareButton(LogoString* owner) : BasicObject(owner) {}

    void DrawShape() override;
};
