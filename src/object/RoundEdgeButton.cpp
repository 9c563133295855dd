#include "object/RoundEdgeButton.h"

#include "object/Bar.h"

void RoundEdgeButton::DrawShape() { DrawBar(kRoundEdgeButtonStyle, *this); }
