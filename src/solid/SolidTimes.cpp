#include "SolidTimes.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {
bool on() {
    static const bool asked = std::getenv("LOGO3D_SOLID_TIMES") != nullptr;
    return asked;
}
}  // namespace

void SolidLap(const char* step) {
    static auto last = std::chrono::steady_clock::now();
    const auto now = std::chrono::steady_clock::now();
    if (on()) std::fprintf(stderr, "%s: %.3f s\n", step, std::chrono::duration<double>(now - last).count());
    last = now;
}

void SolidNote(const char* what, double value) {
    if (on()) std::fprintf(stderr, "%s: %.3f\n", what, value);
}
