#include "HtmlWriter.h"

#include <nlohmann/json.hpp>

#include <sstream>

#include "GltfWriter.h"

extern const char kViewerScript[];
extern const char kViewerLiteScript[];

namespace {

std::string escapedForHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else if (c == '\'') out += "&#39;";
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

std::string HtmlBytes(const HtmlPage& page) {
    const std::string label = escapedForHtml(page.title);
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        << "<meta name=\"generator\" content=\"logo3d-export\">\n"
        << "<title>" << label << "</title>\n"
        << "<style>html, body { margin: 0; height: 100%; overflow: hidden; background: " << page.background << "; }\n"
        << ".logo3d-transparent, .logo3d-transparent body { background: transparent; }\n"
        << "#logo3d-frame { position: fixed; inset: 0; }\n"
        << "#logo3d-frame canvas, .logo3d-still { position: absolute; inset: 0; width: 100%; height: 100%; "
           "display: block; }\n"
        << ".logo3d-still { object-fit: contain; }\n.logo3d-drawn .logo3d-still { display: none; }\n"
        << "#logo3d-frame canvas:focus { outline: none; }\n"
        << "#logo3d-frame canvas:focus-visible { outline: 2px solid #4a80d8; outline-offset: -2px; }\n"
        << ".logo3d-hint { position: absolute; left: 50%; bottom: 8px; transform: translateX(-50%); "
           "font: 12px/1.4 system-ui, sans-serif; color: #fff; background: rgba(0, 0, 0, 0.6); padding: 3px 8px; "
           "border-radius: 4px; pointer-events: none; white-space: nowrap; transition: opacity 0.8s; }\n"
        << ".logo3d-gone { opacity: 0; }</style>\n"
        << "</head>\n<body>\n<div id=\"logo3d-frame\">";
    // Shown until the first frame is drawn, and for good without WebGL or JavaScript.
    if (!page.stillPng.empty())
        out << "<img class=\"logo3d-still\" alt=\"" << label << "\" src=\"data:image/png;base64,"
            << Base64(page.stillPng) << "\">";
    out << "</div>\n"
        << "<script type=\"application/json\" id=\"logo3d-page\">" << safeInScript(page.configJson) << "</script>\n"
        << "<script type=\"application/octet-stream\" id=\"logo3d-model\">" << Base64(GlbBytes(page.scene))
        << "</script>\n";
    if (page.threeUrl.empty()) {
        out << "<script>" << kViewerScript << "</script>\n";
    } else {
        // The glTF loader comes from three.js's examples/jsm/ beside its build/.
        const std::size_t build = page.threeUrl.rfind("build/");
        const std::string examples =
            (build == std::string::npos ? std::string() : page.threeUrl.substr(0, build)) + "examples/jsm/";
        const nlohmann::json imports = {{"imports", {{"three", page.threeUrl}, {"three/examples/jsm/", examples}}}};
        out << "<script type=\"importmap\">" << safeInScript(imports.dump()) << "</script>\n"
            << "<script type=\"module\">" << kViewerLiteScript << "</script>\n";
    }
    out << "</body>\n</html>\n";
    return out.str();
}

