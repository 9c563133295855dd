// Placeholder bodies of the logo text until they are written.
#include "text/LogoString.h"

bool ShadowPass = false;
float FacetLengthGlobal = 1.0f;

LogoString::~LogoString() = default;
int LogoString::Read(std::istream&) { return 0; }
void LogoString::Prepare(StrokeFontCharacterSet* f) { font = f; }
void LogoString::Draw() {}
void LogoString::DrawFrame(unsigned) {}
float LogoString::TextWidth(const std::string&, const int*) const { return 0.0f; }
float LogoString::SizeFactor(unsigned) const { return 1.0f; }
const Material& LogoString::MaterialAt(int) const { return DefaultMaterial; }
const Color& LogoString::ColourAt(int) const { return DefaultColor; }
void LogoString::EnsureLists() {}
void LogoString::BuildLogo() {}
