#include "scene/Color.h"

#include <sstream>

#include "scene/DataLine.h"

const Color DefaultColor;

namespace {
void replaceOutOfRange(float& component) {
    if (component < 0.0f || component > 1.0f) component = 1.0f;
}
}  // namespace

int readColor(Color& color, std::istream& in) {
    std::istringstream line(readSignificantLine(in));
    int failures = readValue(line, color.red) + readValue(line, color.green) + readValue(line, color.blue) +
                   readValue(line, color.alpha);
    for (float* component : {&color.red, &color.green, &color.blue, &color.alpha}) replaceOutOfRange(*component);
    return failures;
}
