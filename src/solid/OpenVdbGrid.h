#pragma once

// The solid's grid on OpenVDB's sparse volumes: the native tools' grid.

#include "SolidGrid.h"

std::unique_ptr<SolidGrid> MakeOpenVdbGrid(const GridFrame& frame);
