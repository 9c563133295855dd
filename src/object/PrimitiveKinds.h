#pragma once

#include <memory>

#include "object/BasicObject.h"

// The solid primitive of a string-file kind number: 1 SquareButton,
// 2 RoundButton, 3 SquareFrame, 4 RoundFrame, 5 SquarePole, 6 RoundPole,
// 7 SquareEdgeButton, 8 RoundEdgeButton, 9 LineStrokeObject; null for any
// other kind.
std::unique_ptr<BasicObject> CreatePrimitiveOfKind(int kind, LogoString* owner);
