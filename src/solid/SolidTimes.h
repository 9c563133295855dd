#pragma once

// LOGO3D_SOLID_TIMES=1 prints how long each step of a solid takes, and what
// the checks found (for the benchmark), on the standard error stream.

// The time since the last lap, under this step's name.
void SolidLap(const char* step);
// A figure worth a line ("lost: at most 0.012 of a column's drawn area").
void SolidNote(const char* what, double value);
