#include "ExportedFiles.h"

#include <tiny_gltf.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

using Vec = std::array<double, 3>;

Vec windingNormal(const FileTriangle& t) {
    const Vec& a = t.corners[0];
    const Vec& b = t.corners[1];
    const Vec& c = t.corners[2];
    const Vec u{b[0] - a[0], b[1] - a[1], b[2] - a[2]}, v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

const float* floatsOf(const tinygltf::Model& model, int accessorIndex) {
    const tinygltf::Accessor& accessor = model.accessors[static_cast<std::size_t>(accessorIndex)];
    const tinygltf::BufferView& view = model.bufferViews[static_cast<std::size_t>(accessor.bufferView)];
    return reinterpret_cast<const float*>(&model.buffers[static_cast<std::size_t>(view.buffer)]
                                               .data[view.byteOffset + accessor.byteOffset]);
}

}  // namespace

FileMesh ReadGlb(const std::string& path, const std::string& nodeName) {
    FileMesh out;
    tinygltf::Model model;
    tinygltf::TinyGLTF loader;
    std::string error, warning;
    if (!loader.LoadBinaryFromFile(&model, &error, &warning, path)) {
        out.problem = "tinygltf cannot read " + path + ": " + error;
        return out;
    }
    for (const tinygltf::Node& node : model.nodes) {
        if (node.name != nodeName || node.mesh < 0) continue;
        for (const tinygltf::Primitive& primitive : model.meshes[static_cast<std::size_t>(node.mesh)].primitives) {
            const float* positions = floatsOf(model, primitive.attributes.at("POSITION"));
            const float* normals = floatsOf(model, primitive.attributes.at("NORMAL"));
            const tinygltf::Accessor& indices = model.accessors[static_cast<std::size_t>(primitive.indices)];
            if (indices.componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT) {
                out.problem = "indices are not 32-bit";
                return out;
            }
            const std::uint32_t* index = reinterpret_cast<const std::uint32_t*>(floatsOf(model, primitive.indices));
            for (std::size_t i = 0; i + 2 < indices.count; i += 3) {
                FileTriangle t;
                for (int c = 0; c < 3; ++c)
                    for (int k = 0; k < 3; ++k) {
                        t.corners[c][k] = positions[index[i + c] * 3 + k] * 1000.0;  // metres to millimetres
                        t.normals[c][k] = normals[index[i + c] * 3 + k];
                    }
                out.triangles.push_back(t);
            }
        }
    }
    return out;
}

FileMesh ReadStl(const std::string& path) {
    FileMesh out;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 84) {
        out.problem = "too short for a binary STL";
        return out;
    }
    std::uint32_t count;
    std::memcpy(&count, &bytes[80], 4);
    if (bytes.size() != 84 + std::size_t(count) * 50) {
        out.problem = "the facet count does not match the length";
        return out;
    }
    for (std::uint32_t f = 0; f < count; ++f) {
        float v[12];
        std::memcpy(v, &bytes[84 + std::size_t(f) * 50], sizeof v);
        FileTriangle t;
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k) {
                t.corners[c][k] = v[3 + c * 3 + k];
                t.normals[c][k] = v[k];
            }
        out.triangles.push_back(t);
    }
    return out;
}

FileMesh ReadObj(const std::string& path) {
    FileMesh out;
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (in == nullptr) {
        out.problem = "cannot open " + path;
        return out;
    }
    std::vector<Vec> positions, normals;
    char line[512];
    while (std::fgets(line, sizeof line, in) != nullptr) {
        char* p = line;
        if (line[0] == 'v' && (line[1] == ' ' || (line[1] == 'n' && line[2] == ' '))) {
            p += line[1] == ' ' ? 2 : 3;
            Vec v{};
            for (double& x : v) x = std::strtod(p, &p);
            (line[1] == ' ' ? positions : normals).push_back(v);
        } else if (line[0] == 'f' && line[1] == ' ') {
            p += 2;
            FileTriangle t;
            for (int c = 0; c < 3; ++c) {
                const unsigned long position = std::strtoul(p, &p, 10);
                if (p[0] == '/' && p[1] == '/') p += 2;
                const unsigned long normal = std::strtoul(p, &p, 10);
                if (position == 0 || position > positions.size() || normal == 0 || normal > normals.size()) {
                    out.problem = std::string("a face refers to a missing vertex: ") + line;
                    std::fclose(in);
                    return out;
                }
                t.corners[c] = positions[position - 1];
                t.normals[c] = normals[normal - 1];
            }
            out.triangles.push_back(t);
        }
    }
    std::fclose(in);
    return out;
}

double AgreeingAreaShare(const FileMesh& mesh) {
    double agreeing = 0.0, total = 0.0;
    for (const FileTriangle& t : mesh.triangles) {
        const Vec w = windingNormal(t);
        double along = 0.0;
        for (const Vec& n : t.normals) along += w[0] * n[0] + w[1] * n[1] + w[2] * n[2];
        const double area = 0.5 * std::sqrt(w[0] * w[0] + w[1] * w[1] + w[2] * w[2]);
        total += area;
        if (along > 0.0) agreeing += area;
    }
    return total > 0.0 ? agreeing / total : 0.0;
}
