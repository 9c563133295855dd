#pragma once

#include <string>

// The name of frame k in a folder of frames: frame-007.png; and whether a
// name is one such.
std::string FrameName(unsigned k);
bool IsFrameName(const std::string& name);
// DIR/frame-007.png.
std::string FramePath(const std::string& directory, unsigned k);

// Joins frames 0 .. count - 1 of the folder into one looping animated
// picture, whole or not at all: a GIF through ImageMagick, an APNG through
// ffmpeg. Returns an empty string on success, else the one line saying
// what went wrong; the programs' own output shows only in that line.
std::string WriteGif(const std::string& directory, unsigned count, unsigned framesPerSecond, const std::string& path);
std::string WriteApng(const std::string& directory, unsigned count, unsigned framesPerSecond, const std::string& path);
