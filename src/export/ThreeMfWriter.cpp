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
    "<Default Extension=\"config\" ContentType=\"application/xml\"/>"
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

// All parts in one mesh, each a range of its triangles carrying the part's
// base material: a slicer reads one object whose parts stay where they are.
void appendMesh(std::string& out, const std::vector<SolidPart>& parts) {
    char line[160];
    out += "<mesh>\n<vertices>\n";
    for (const SolidPart& part : parts)
        for (const Point3& v : part.mesh.vertices) {
            std::snprintf(line, sizeof line, "<vertex x=\"%.6f\" y=\"%.6f\" z=\"%.6f\"/>\n", v[0], v[1], v[2]);
            out += line;
        }
    out += "</vertices>\n<triangles>\n";
    std::size_t first = 0;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        for (const auto& t : parts[p].mesh.triangles) {
            std::snprintf(line, sizeof line, "<triangle v1=\"%zu\" v2=\"%zu\" v3=\"%zu\" pid=\"1\" p1=\"%zu\"/>\n",
                          first + t[0], first + t[1], first + t[2], p);
            out += line;
        }
        first += parts[p].mesh.vertices.size();
    }
    out += "</triangles>\n</mesh>\n";
}

const char* const kObjectId = "2";

std::string modelXml(const std::vector<SolidPart>& parts) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<model xmlns=\"http://schemas.microsoft.com/3dmanufacturing/core/2015/02\" unit=\"millimeter\" "
        "xml:lang=\"en-US\">\n<resources>\n<basematerials id=\"1\">\n";
    for (const SolidPart& part : parts)
        out += "<base name=\"" + escaped(part.name) + "\" displaycolor=\"" + hexColour(part.colour) + "\"/>\n";
    out += "</basematerials>\n<object id=\"" + std::string(kObjectId) + "\" name=\"logo\" type=\"model\" pid=\"1\" pindex=\"0\">\n";
    appendMesh(out, parts);
    out += "</object>\n</resources>\n<build>\n<item objectid=\"" + std::string(kObjectId) + "\"/>\n</build>\n</model>\n";
    return out;
}

// PrusaSlicer's own description of the object: each part (a range of the
// mesh's triangles) named, with the extruder that prints it (the k-th part
// from the k-th extruder).
std::string slicerConfig(const std::vector<SolidPart>& parts) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<config>\n <object id=\"" +
                      std::string(kObjectId) + "\" instances_count=\"1\">\n"
                      "  <metadata type=\"object\" key=\"name\" value=\"logo\"/>\n";
    std::size_t first = 0;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const std::size_t count = parts[p].mesh.triangles.size();
        if (count == 0) continue;
        out += "  <volume firstid=\"" + std::to_string(first) + "\" lastid=\"" + std::to_string(first + count - 1) +
               "\">\n   <metadata type=\"volume\" key=\"name\" value=\"" + escaped(parts[p].name) +
               "\"/>\n   <metadata type=\"volume\" key=\"volume_type\" value=\"ModelPart\"/>\n"
               "   <metadata type=\"volume\" key=\"extruder\" value=\"" + std::to_string(p + 1) + "\"/>\n  </volume>\n";
        first += count;
    }
    return out + " </object>\n</config>\n";
}

}  // namespace

std::string ThreeMfBytes(const std::vector<SolidPart>& parts) {
    return ZipBytes({{"[Content_Types].xml", kContentTypes},
                     {"_rels/.rels", kRelationships},
                     {"3D/3dmodel.model", modelXml(parts)},
                     {"Metadata/Slic3r_PE_model.config", slicerConfig(parts)}});
}
