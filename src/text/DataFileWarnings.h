#pragma once

#include <ostream>
#include <string>
#include <vector>

// The checker's warnings for the data files a tool reads: what the viewer
// would replace or pass over without a word, said where the user works.

// The texts to check; a file with an empty name was not read.
struct DataFileTexts {
    std::string fontFile, fontText;
    std::string envFile, envText;
    std::string stringFile, stringText;
};

// Reads the named regular files (an empty name is skipped) without a word:
// a file that does not read is left out, and its loader says why; a pipe is
// left to its loader, which alone can read it.
DataFileTexts ReadDataFileTexts(const std::string& fontFile, const std::string& envFile,
                                const std::string& stringFile);

// The warning lines logo3d-check prints for these texts, in its order
// ("string.src:40: warning: ...").
std::vector<std::string> CheckerWarnings(const DataFileTexts& texts);

// Writes the first `limit` lines, one each, then how many more there were.
void PrintWarnings(const std::vector<std::string>& lines, std::ostream& out, std::size_t limit = 20);
