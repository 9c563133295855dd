#include "object/StepLength.h"

float RoundStepLength(float global) { return global > 0.0f ? global : kFinestStep; }

float BarStepLength(float global) { return global >= kFinestStep ? global : kFinestStep; }
