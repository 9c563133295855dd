#include "ExportLogo.h"

#include <GL/gl.h>

#include <algorithm>
#include <cctype>

#include "ExportSteps.h"

#include "text/GlyphCodes.h"
#include "text/StrokeCharacter.h"

namespace {

// The triangle's glyph, when a glyph's own display list drew it.
const StrokeCharacter* glyphOf(const StrokeFontCharacterSet& font, const capture::Triangle& t) {
    for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next)
        if (c->displayList > 0 && static_cast<unsigned>(c->displayList) == t.innerList) return c;
    return nullptr;
}

const char* modeName(std::uint32_t source) {
    switch (source) {
        case GL_TRIANGLES: return "triangles";
        case GL_TRIANGLE_STRIP: return "triangle strip";
        case GL_TRIANGLE_FAN: return "triangle fan";
        case GL_QUADS: return "quads";
        case GL_QUAD_STRIP: return "quad strip";
        case GL_POLYGON: return "polygon";
        case capture::kSphere: return "sphere";
        default: return "other";
    }
}

// A frame beyond the motion's end is its end, as DrawFrame takes it.
int clampedFrame(const ExportSettings& settings, const LogoString& logo, std::vector<std::string>& notes) {
    const int end = static_cast<int>(std::max(logo.frameCount, 1u));
    if (settings.frame <= end) return settings.frame;
    notes.push_back("note: --frame " + std::to_string(settings.frame) +
                    " is past the motion's end; exporting its end, frame " + std::to_string(end));
    return end;
}

bool isSolidFormat(ExportFormat format) { return format == ExportFormat::kStl || format == ExportFormat::k3mf; }

}  // namespace

bool FormatOfName(const std::string& name, ExportFormat& format) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::pair<const char*, ExportFormat> known[] = {
        {"glb", ExportFormat::kGlb}, {"gltf", ExportFormat::kGltf}, {"obj", ExportFormat::kObj},  {"stl", ExportFormat::kStl},
        {"html", ExportFormat::kHtml}, {"htm", ExportFormat::kHtml}, {"3mf", ExportFormat::k3mf}};
    for (const auto& entry : known)
        if (extension == entry.first) return format = entry.second, true;
    return false;
}

ExportResult ExportLogo(const LogoTexts& texts, const ExportSettings& asked) {
    ExportResult result;
    ExportSettings settings = asked;
    std::unique_ptr<LogoReading> files = ReadLogo(texts, settings.text, settings.checkFiles, settings.valuePlaces);
    result.notes = std::move(files->notes);
    result.findings = std::move(files->findings);
    result.values = std::move(files->values);
    if (!files->ready) {
        result.status = 1;
        result.problem = files->problem;
        return result;
    }
    settings.frame = clampedFrame(settings, files->logo, result.notes);
    const bool solid = isSolidFormat(settings.format);
    const CapturedLogo captured = CaptureLogo(files->logo, files->font, settings.frame, settings.shadow && !solid);
    if (captured.problems.Total() != 0)
        result.notes.push_back("warning: the drawing made " + std::to_string(captured.problems.Total()) +
                               " calls that OpenGL would refuse; the export may differ from the picture");
    result.title = TitleOf(files->logo);
    const StrokeFontCharacterSet& font = files->font;
    DrawnExport drawn{*files, captured, SurfaceNames(captured.surfaces, files->logo),
                      [&font](const capture::Triangle& t) { return glyphOf(font, t) != nullptr; },
                      [&font](const capture::Triangle& t) {
                          const StrokeCharacter* c = glyphOf(font, t);
                          return (c != nullptr ? GlyphName(c->code) : std::string("logo list")) + ", " + modeName(t.source);
                      }};
    if (solid) ExportPrint(drawn, settings, result);
    else ExportMesh(drawn, settings, result);
    return result;
}
