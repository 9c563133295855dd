#pragma once

#include <ostream>

// What `logo3d --help` prints: the command line with every option's meaning
// and default, the keys and the mouse, and where the data files are found.
void PrintUsage(std::ostream& out);
