#include "object/SquarePole.h"

#include "object/Bar.h"

void SquarePole::DrawShape() { DrawBar(kSquarePoleStyle, *this); }
