#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "scene/Diagnostics.h"

// a + b t + c t^2
struct MotionPolynomial {
    float a = 0.0f, b = 0.0f, c = 0.0f;
    float Value(float t) const;
    float Rate(float t) const;
    // One significant line of three floats; field names it in findings.
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent(), std::string_view field = {});
};

// amplitude * sin(2 pi frequency t + phase degrees)
struct MotionWave {
    float amplitude = 0.0f, frequency = 1.0f, phase = 0.0f;
    float Value(float t) const;
    // Derivative divided by 2 pi; callers multiply by 2 pi.
    float Rate(float t) const;
    int Read(std::istream& in, Diagnostics& report = Diagnostics::Silent(), std::string_view field = {});
};

// A polynomial plus a wave, as every motion channel of the string file is.
struct MotionChannel {
    MotionPolynomial polynomial;
    MotionWave wave;
    float Value(float t) const;
    float Derivative(float t) const;  // polynomial rate + 2 pi wave rate
};
