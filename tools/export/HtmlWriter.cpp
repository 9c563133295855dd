#include "HtmlWriter.h"

#include <sstream>

#include "FileWriting.h"
#include "GltfWriter.h"

extern const char kViewerScript[];

namespace {

std::string escapedForHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
    return out;
}

// JSON inside a script element: "</" would end the element, "<\/" is the same JSON.
std::string safeInScript(const std::string& json) {
    std::string out;
    for (std::size_t i = 0; i < json.size(); ++i) {
        out += json[i];
        if (json[i] == '<' && i + 1 < json.size() && json[i + 1] == '/') out += '\\';
    }
    return out;
}

}  // namespace

std::string Base64(const std::string& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += digits[v >> 18];
        out += digits[(v >> 12) & 63];
        out += digits[(v >> 6) & 63];
        out += digits[v & 63];
    }
    if (i < bytes.size()) {
        const bool two = i + 1 < bytes.size();
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0u);
        out += digits[v >> 18];
        out += digits[(v >> 12) & 63];
        out += two ? digits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string HtmlBytes(const ExportScene& scene, const std::string& configJson, const std::string& title) {
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        << "<meta name=\"generator\" content=\"logo3d-export\">\n"
        << "<title>" << escapedForHtml(title) << "</title>\n"
        << "<style>html, body { margin: 0; height: 100%; overflow: hidden; }\n"
        << "canvas { display: block; touch-action: none; }\n"
        << ".logo3d-error { position: absolute; top: 1em; left: 1em; font: 16px sans-serif; }</style>\n"
        << "</head>\n<body>\n"
        << "<script type=\"application/json\" id=\"logo3d-page\">" << safeInScript(configJson) << "</script>\n"
        << "<script type=\"application/octet-stream\" id=\"logo3d-model\">" << Base64(GlbBytes(scene)) << "</script>\n"
        << "<script>" << kViewerScript << "</script>\n"
        << "</body>\n</html>\n";
    return out.str();
}

WriteResult WriteHtml(const ExportScene& scene, const std::string& configJson, const std::string& title,
                      const std::string& path) {
    return WriteWholeFile(path, HtmlBytes(scene, configJson, title));
}
