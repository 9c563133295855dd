#include "text/DecorationStyle.h"

#include <sstream>

#include "scene/FieldLine.h"

namespace {
const char* const kValueNames[] = {"enabled", "colour mode", "material", "colour A", "colour B", "frequency", nullptr};
}  // namespace

int DecorationStyle::Read(std::istream& in, Diagnostics& report, std::string_view field) {
    FieldLine line(in, report, field, kValueNames);
    return line.Read(enabled, colourMode, materialIndex, colourIndexA, colourIndexB, frequency);
}
