#pragma once

class FieldLine;
struct Fog;
struct Light;
struct Projection;

// Values of the environment file that read but that OpenGL refuses or the
// program sets aside: each is said on the line that holds it.
void WarnAboutProjection(const Projection& projection, FieldLine& line);
void WarnAboutFog(const Fog& fog, FieldLine& line);
// The spot and attenuation values of a light, on its last line.
void WarnAboutSpot(const Light& light, FieldLine& line);
