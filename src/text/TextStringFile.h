#pragma once

#include <string>

// The text of a string file that lays out the given lines (separated by '|')
// in white, at size 1, proportionally spaced, with no decoration.
std::string StringFileForText(const std::string& text);
