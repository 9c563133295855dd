#include "text/DecorationStyle.h"

#include <sstream>

#include "scene/DataLine.h"
#include "scene/FieldLine.h"

namespace {
const char* const kValueNames[] = {"enabled",   "colour mode", "material",      "colour A",
                                   "colour B",  "frequency",   "end margin",    "side margin", nullptr};
}  // namespace

int DecorationStyle::Read(std::istream& in, Diagnostics& report, std::string_view field) {
    FieldLine line(in, report, field, kValueNames);
    int errors = line.Read(enabled, colourMode, materialIndex, colourIndexA, colourIndexB, frequency);
    if (errors == 0 && HasMoreValues(line.Stream())) errors += line.Read(endMargin);
    if (errors == 0 && HasMoreValues(line.Stream())) errors += line.Read(sideMargin);
    return errors;
}
