#pragma once

#include <cmath>

// A whole turn, in radians: what is built round a circle goes once round it.
constexpr double kFullTurn = 2.0 * M_PI;
