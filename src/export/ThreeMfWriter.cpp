#include "ThreeMfWriter.h"

#include <algorithm>
#include <cstdio>

#include "ZipArchive.h"

namespace {

const char* const kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"model\" ContentType=\"application/vnd.ms-package.3dmanufacturing-3dmodel+xml\"/>"
    "</Types>\n";

const char* const kRelationships =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Type=\"http://schemas.microsoft.com/3dmanufacturing/2013/01/3dmodel\" "
    "Target=\"/3D/3dmodel.model\" Id=\"rel0\"/>"
    "</Relationships>\n";

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string hexColour(const std::array<float, 4>& colour) {
    const auto byte = [](float v) { return static_cast<unsigned>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02XFF", byte(colour[0]), byte(colour[1]), byte(colour[2]));
    return text;
}

void appendMesh(std::string& out, const SolidMesh& mesh) {
    char line[128];
    out += "<mesh>\n<vertices>\n";
    for (const Point3& v : mesh.vertices) {
        std::snprintf(line, sizeof line, "<vertex x=\"%.6f\" y=\"%.6f\" z=\"%.6f\"/>\n", v[0], v[1], v[2]);
        out += line;
    }
    out += "</vertices>\n<triangles>\n";
    for (const auto& t : mesh.triangles) {
        std::snprintf(line, sizeof line, "<triangle v1=\"%u\" v2=\"%u\" v3=\"%u\"/>\n", t[0], t[1], t[2]);
        out += line;
    }
    out += "</triangles>\n</mesh>\n";
}

std::string modelXml(const std::vector<SolidPart>& parts) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<model xmlns=\"http://schemas.microsoft.com/3dmanufacturing/core/2015/02\" unit=\"millimeter\" "
        "xml:lang=\"en-US\">\n<resources>\n<basematerials id=\"1\">\n";
    for (const SolidPart& part : parts)
        out += "<base name=\"" + escaped(part.name) + "\" displaycolor=\"" + hexColour(part.colour) + "\"/>\n";
    out += "</basematerials>\n";
    // The parts first: readers want an object defined before a component refers to it.
    for (std::size_t i = 0; i < parts.size(); ++i) {
        out += "<object id=\"" + std::to_string(i + 2) + "\" name=\"" + escaped(parts[i].name) +
               "\" type=\"model\" pid=\"1\" pindex=\"" + std::to_string(i) + "\">\n";
        appendMesh(out, parts[i].mesh);
        out += "</object>\n";
    }
    const std::string logo = std::to_string(parts.size() + 2);
    out += "<object id=\"" + logo + "\" name=\"logo\" type=\"model\">\n<components>\n";
    for (std::size_t i = 0; i < parts.size(); ++i) out += "<component objectid=\"" + std::to_string(i + 2) + "\"/>\n";
    out += "</components>\n</object>\n</resources>\n<build>\n<item objectid=\"" + logo + "\"/>\n</build>\n</model>\n";
    return out;
}

}  // namespace

std::string ThreeMfBytes(const std::vector<SolidPart>& parts) {
    return ZipBytes({{"[Content_Types].xml", kContentTypes},
                     {"_rels/.rels", kRelationships},
                     {"3D/3dmodel.model", modelXml(parts)}});
}
