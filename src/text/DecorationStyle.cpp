#include "text/DecorationStyle.h"

#include <sstream>

#include "scene/DataLine.h"

int DecorationStyle::Read(std::istream& in) {
    std::istringstream line(readSignificantLine(in));
    return readValue(line, enabled) + readValue(line, colourMode) + readValue(line, materialIndex) +
           readValue(line, colourIndexA) + readValue(line, colourIndexB) + readValue(line, frequency);
}
