#include "LogoCapture.h"

#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

CapturedLogo CaptureLogo(LogoString& logo, StrokeFontCharacterSet& font, int frame) {
    capture::Reset();
    logo.Prepare(&font);
    if (frame < 0) logo.Draw();
    else logo.DrawFrame(static_cast<unsigned>(frame));
    CapturedLogo out;
    const unsigned shadowList = logo.shadowList > 0 ? static_cast<unsigned>(logo.shadowList) : 0u;
    for (const capture::Triangle& t : capture::Triangles())
        (shadowList != 0 && t.list == shadowList ? out.shadow : out.solid).push_back(t);
    out.surfaces = capture::Surfaces();
    out.problems = capture::Problems();
    capture::ClearTriangles();
    return out;
}
