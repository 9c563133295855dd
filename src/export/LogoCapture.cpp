#include "LogoCapture.h"

#include <algorithm>

#include "scene/Environment.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

CapturedLogo CaptureLogo(LogoString& logo, StrokeFontCharacterSet& font, int frame, bool withShadow) {
    capture::Reset();
    // A shadow nobody asked for is neither compiled nor drawn: it would
    // double the work.
    const bool shadowEnabled = logo.shadow.enabled;
    logo.shadow.enabled = shadowEnabled && withShadow;
    logo.Prepare(&font);
    if (frame < 0) logo.Draw();
    else logo.DrawFrame(static_cast<unsigned>(frame));
    logo.shadow.enabled = shadowEnabled;
    CapturedLogo out;
    out.drawing = capture::TakeDrawing();
    const std::vector<capture::Triangle>& triangles = out.drawing.triangles;
    const unsigned shadowList = logo.shadowList > 0 ? static_cast<unsigned>(logo.shadowList) : 0u;
    for (std::size_t i = 0; i < triangles.size(); ++i)
        (shadowList != 0 && triangles[i].list == shadowList ? out.shadow : out.solid)
            .push_back(static_cast<std::uint32_t>(i));
    out.surfaces = capture::Surfaces();
    out.problems = capture::Problems();
    for (const capture::ListCall& call : capture::ListCalls())
        if (shadowList != 0 && call.list == shadowList) std::copy(call.modelview, call.modelview + 16, out.shadowMatrix);
    capture::ClearTriangles();
    return out;
}

std::vector<std::array<float, 16>> LogoMotion(LogoString& logo) {
    std::vector<std::array<float, 16>> frames;
    const unsigned logoList = logo.logoList > 0 ? static_cast<unsigned>(logo.logoList) : 0u;
    capture::DrawCalledLists(false);
    // Frame k stands at t = k / frameCount; one more, at t = 1, ends the motion.
    for (unsigned k = 0; k <= std::max(logo.frameCount, 1u); ++k) {
        capture::ClearTriangles();
        logo.DrawFrame(k);
        std::array<float, 16> m{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
        for (const capture::ListCall& call : capture::ListCalls())
            if (call.list == logoList) std::copy(call.modelview, call.modelview + 16, m.begin());
        frames.push_back(m);
    }
    capture::DrawCalledLists(true);
    capture::ClearTriangles();
    return frames;
}

std::vector<std::array<capture::Vertex, 3>> CapturedLogo::Corners(const std::vector<std::uint32_t>& which) const {
    std::vector<std::array<capture::Vertex, 3>> out;
    out.reserve(which.size());
    for (std::uint32_t i : which) {
        const capture::Triangle& t = drawing.triangles[i];
        out.push_back({drawing.vertices[t.vertices[0]], drawing.vertices[t.vertices[1]], drawing.vertices[t.vertices[2]]});
    }
    return out;
}

std::array<float, 4> ShadowColour(const CapturedLogo& captured, const Environment& environment) {
    if (captured.shadow.empty()) return {0, 0, 0, 1};
    const capture::Triangle& t = captured.drawing.triangles[captured.shadow.front()];
    const capture::Surface& s = captured.surfaces[t.surface];
    const float* base = s.ColourIsDiffuse() ? captured.drawing.vertices[t.vertices[0]].colour : s.diffuse;
    const Color& ambient = environment.lightModel.ambient;
    const float light[3] = {ambient.red, ambient.green, ambient.blue};
    std::array<float, 4> out;
    for (int i = 0; i < 3; ++i) out[static_cast<std::size_t>(i)] = std::min(1.0f, s.emission[i] + light[i] * base[i]);
    out[3] = base[3];
    return out;
}
