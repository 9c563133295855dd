#pragma once

#include "object/BasicObject.h"

// A bar along X of bevelled square section turned by 45 degrees, with round
// ends, width long from end to end.
class RoundEdgeButton : public BasicObject {
public:
    explicit RoundEdgeButton(LogoString* owner) : BasicObject(owner) {}

    void DrawShape() override;
};
