#include "object/RoundPole.h"

#include "object/Bar.h"

void RoundPole::DrawShape() { DrawBar(kRoundPoleStyle, *this); }
