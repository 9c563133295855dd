#include "object/SquareEdgeButton.h"

#include "object/Bar.h"

void SquareEdgeButton::DrawShape() { DrawBar(kSquareEdgeButtonStyle, *this); }
