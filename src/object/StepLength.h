#pragma once

// The tessellation steps of the solid primitives, derived from
// FacetLengthGlobal (the font's step once the text is prepared). The font
// never goes finer than kFinestStep, so that is also the fallback when the
// global holds no usable step: a zero or negative step would divide by zero or
// ask for an endless number of segments.
constexpr float kFinestStep = 0.1f;

// The step of the round button and the round frame: a positive global as it
// is, anything else (zero, negative, NaN) replaced by kFinestStep.
float RoundStepLength(float global);

// The step the bars give their private style: the global, but never below
// kFinestStep (NaN counts as below).
float BarStepLength(float global);
