#include "text/Motion.h"

#include <cmath>
#include <sstream>

#include "scene/FieldLine.h"

namespace {
constexpr double kRadiansPerCycle = 6.283185307179586;
constexpr double kPhaseDegreesToRadians = 0.017453292519943295;

const char* const kPolynomialNames[] = {"a", "b", "c", nullptr};
const char* const kWaveNames[] = {"amplitude", "frequency", "phase", nullptr};

// Reads three floats from one significant line.
int readTriple(std::istream& in, float& first, float& second, float& third, Diagnostics& report,
               std::string_view field, const char* const* names) {
    FieldLine line(in, report, field, names);
    return line.Read(first, second, third);
}
}  // namespace

float MotionPolynomial::Value(float t) const { return a + b * t + c * static_cast<float>(std::pow(t, 2.0)); }

float MotionPolynomial::Rate(float t) const { return b + 2.0f * c * t; }

int MotionPolynomial::Read(std::istream& in, Diagnostics& report, std::string_view field) {
    return readTriple(in, a, b, c, report, field, kPolynomialNames);
}

namespace {
double waveAngle(const MotionWave& wave, float t) {
    return kRadiansPerCycle * wave.frequency * t + wave.phase * kPhaseDegreesToRadians;
}
}  // namespace

float MotionWave::Value(float t) const { return amplitude * static_cast<float>(std::sin(waveAngle(*this, t))); }

float MotionWave::Rate(float t) const {
    return amplitude * frequency * static_cast<float>(std::cos(waveAngle(*this, t)));
}

int MotionWave::Read(std::istream& in, Diagnostics& report, std::string_view field) {
    return readTriple(in, amplitude, frequency, phase, report, field, kWaveNames);
}

float MotionChannel::Value(float t) const { return polynomial.Value(t) + wave.Value(t); }

float MotionChannel::Derivative(float t) const {
    return polynomial.Rate(t) + static_cast<float>(kRadiansPerCycle) * wave.Rate(t);
}
