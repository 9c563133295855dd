#include "ObjWriter.h"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <set>


namespace {

std::string stem(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? path : path.substr(0, dot);
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Material names in OBJ end at white space.
std::string mtlName(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (c == ' ' || c == '\t') c = '_';
    return out;
}

// Numbers in their shortest exact form: std::to_chars is several times
// faster than printf on the hundreds of thousands of vertices of a logo.
void append(std::string& line, float value) {
    char digits[32];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    line += ' ';
    line.append(digits, end.ptr);
}

void append(std::string& line, std::size_t value) {
    char digits[24];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
    line.append(digits, end.ptr);
}

// printf into the text.
void appendFormatted(std::string& text, const char* format, ...) {
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (length > 0) text.append(line, std::min(static_cast<std::size_t>(length), sizeof line - 1));
}

void writeVertices(std::string& text, const MeshPart& part, float scale) {
    for (const MeshVertex& v : part.vertices) {
        text += 'v';
        for (float p : v.position) append(text, p * scale);
        for (int k = 0; k < 3; ++k) append(text, v.colour[k]);
        text += '\n';
    }
    for (const MeshVertex& v : part.vertices) {
        text += "vn";
        for (float n : v.normal) append(text, n);
        text += '\n';
    }
}

void writeFaces(std::string& text, const ExportScene& scene, const MeshPart& part, std::size_t first) {
    for (const MeshGroup& group : part.groups) {
        text += "usemtl " + mtlName(scene.surfaceNames[group.surface]) + "\n";
        for (std::size_t i = 0; i + 2 < group.indices.size(); i += 3) {
            text += 'f';
            for (int c = 0; c < 3; ++c) {
                const std::size_t index = first + group.indices[i + static_cast<std::size_t>(c)];
                text += ' ';
                append(text, index);
                text += "//";
                append(text, index);
            }
            text += '\n';
        }
    }
}

// Where the vertex colours drive the diffuse term, Kd is their mean, for
// readers that take no vertex colours.
void meanColour(const MeshPart& part, const MeshGroup& group, double (&sum)[3], std::size_t& count) {
    for (std::uint32_t i : group.indices) {
        for (int k = 0; k < 3; ++k) sum[k] += part.vertices[i].colour[k];
        ++count;
    }
}

std::string mtlText(const ExportScene& scene, const std::vector<const MeshPart*>& parts) {
    std::string out = "# logo3d-export: materials\n";
    std::set<std::uint32_t> written;
    for (const MeshPart* part : parts)
        for (const MeshGroup& group : part->groups) {
            if (!written.insert(group.surface).second) continue;
            const capture::Surface& s = scene.surfaces[group.surface];
            double kd[3] = {s.diffuse[0], s.diffuse[1], s.diffuse[2]};
            if (s.ColourIsDiffuse()) {
                double sum[3] = {0, 0, 0};
                std::size_t count = 0;
                for (const MeshPart* p : parts)
                    for (const MeshGroup& g : p->groups)
                        if (g.surface == group.surface) meanColour(*p, g, sum, count);
                for (int k = 0; k < 3; ++k) kd[k] = count > 0 ? sum[k] / count : 1.0;
            }
            appendFormatted(out, "\nnewmtl %s\n", mtlName(scene.surfaceNames[group.surface]).c_str());
            appendFormatted(out, "Ka %.4g %.4g %.4g\n", s.ambient[0], s.ambient[1], s.ambient[2]);
            appendFormatted(out, "Kd %.4g %.4g %.4g\n", kd[0], kd[1], kd[2]);
            appendFormatted(out, "Ks %.4g %.4g %.4g\n", s.specular[0], s.specular[1], s.specular[2]);
            appendFormatted(out, "Ns %.4g\n", s.shininess);
            appendFormatted(out, "Ke %.4g %.4g %.4g\n", s.emission[0], s.emission[1], s.emission[2]);
            appendFormatted(out, "d %.4g\nillum 2\n", s.diffuse[3]);
        }
    return out;
}

// Bytes a line takes at most: "v" and six numbers, "vn" and three, "f" and nine.
constexpr std::size_t kVertexLineBytes = 2 + 6 * 16 + 1 + 3 + 3 * 16 + 1;
constexpr std::size_t kFaceLineBytes = 2 + 3 * (1 + 2 * 10 + 2);

}  // namespace

ExportedFiles ObjFiles(const ExportScene& scene, const std::string& path) {
    std::vector<const MeshPart*> parts{&scene.solid};
    if (scene.withShadow && scene.shadow.TriangleCount() > 0) parts.push_back(&scene.shadow);
    const std::string mtl = stem(path) + ".mtl";

    std::string out;
    std::size_t bound = 256;
    for (const MeshPart* part : parts)
        bound += part->vertices.size() * kVertexLineBytes + part->TriangleCount() * kFaceLineBytes +
                 part->groups.size() * 64;
    out.reserve(bound);
    appendFormatted(out, "# logo3d-export: millimetres, y up, the logo's front towards +z\n");
    appendFormatted(out, "mtllib %s\n", baseName(mtl).c_str());
    std::size_t first = 1;  // OBJ counts vertices from 1 through the whole file
    const char* names[] = {"logo", "shadow"};
    for (std::size_t p = 0; p < parts.size(); ++p) {
        appendFormatted(out, "o %s\n", names[p]);
        writeVertices(out, *parts[p], scene.millimetresPerUnit);
        writeFaces(out, scene, *parts[p], first);
        first += parts[p]->vertices.size();
    }
    return {{mtl, mtlText(scene, parts)}, {path, std::move(out)}};
}

