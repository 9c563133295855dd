#include "GltfWriter.h"

#include <nlohmann/json.hpp>
#include <tiny_gltf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "GltfMaterial.h"

namespace {

constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;

// Makes room for a view at the end of the one buffer, on a 4-byte boundary,
// and returns where its bytes go (valid until the buffer grows again).
float* newView(tinygltf::Model& model, std::size_t bytes, int target, int& view) {
    std::vector<unsigned char>& buffer = model.buffers[0].data;
    const std::size_t offset = (buffer.size() + 3) / 4 * 4;
    buffer.resize(offset + bytes);
    tinygltf::BufferView v;
    v.buffer = 0;
    v.byteOffset = offset;
    v.byteLength = bytes;
    v.target = target;
    model.bufferViews.push_back(v);
    view = static_cast<int>(model.bufferViews.size() - 1);
    return reinterpret_cast<float*>(&buffer[offset]);
}

int addAccessor(tinygltf::Model& model, int view, std::size_t byteOffset, std::size_t count, int componentType,
                int type) {
    tinygltf::Accessor accessor;
    accessor.bufferView = view;
    accessor.byteOffset = byteOffset;
    accessor.count = count;
    accessor.componentType = componentType;
    accessor.type = type;
    model.accessors.push_back(accessor);
    return static_cast<int>(model.accessors.size() - 1);
}

struct PartAccessors {
    int position = -1, normal = -1, colour = -1;
};

PartAccessors addVertices(tinygltf::Model& model, const MeshPart& part, float metresPerUnit, bool withColours) {
    const std::size_t n = part.vertices.size();
    PartAccessors out;
    int view;
    float* positions = newView(model, n * 12, kArrayBuffer, view);
    out.position = addAccessor(model, view, 0, n, TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC3);
    std::vector<double> low(3, 1e300), high(3, -1e300);
    for (std::size_t i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) {
            const float p = part.vertices[i].position[k] * metresPerUnit;
            positions[i * 3 + k] = p;
            low[k] = std::min(low[k], double(p));
            high[k] = std::max(high[k], double(p));
        }
    // Readers need the extent of the positions.
    model.accessors[static_cast<std::size_t>(out.position)].minValues = low;
    model.accessors[static_cast<std::size_t>(out.position)].maxValues = high;

    float* normals = newView(model, n * 12, kArrayBuffer, view);
    out.normal = addAccessor(model, view, 0, n, TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC3);
    for (std::size_t i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) normals[i * 3 + k] = part.vertices[i].normal[k];
    if (withColours) {
        // Linear, as glTF defines vertex colours; sixteen bits a channel keep
        // the dark tones that eight linear bits would band.
        std::uint16_t* colours = reinterpret_cast<std::uint16_t*>(newView(model, n * 8, kArrayBuffer, view));
        out.colour = addAccessor(model, view, 0, n, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT, TINYGLTF_TYPE_VEC4);
        model.accessors[static_cast<std::size_t>(out.colour)].normalized = true;
        for (std::size_t i = 0; i < n; ++i)
            for (int k = 0; k < 4; ++k) {
                const float c = part.vertices[i].colour[k];
                const float linear = k < 3 ? LinearFromSrgb(c) : std::min(std::max(c, 0.0f), 1.0f);
                colours[i * 4 + static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(65535.0f * linear + 0.5f);
            }
    }
    return out;
}

bool coloursBelowOne(const MeshPart& part, const MeshGroup& group) {
    for (std::uint32_t i : group.indices)
        if (part.vertices[i].colour[3] < 1.0f) return true;
    return false;
}

// One glTF material per surface and translucency, made when first used.
int materialFor(tinygltf::Model& model, std::vector<int>& made, const ExportScene& scene, std::uint32_t surface,
                bool translucent) {
    const std::size_t slot = surface * 2u + (translucent ? 1u : 0u);
    if (made.size() <= slot) made.resize(slot + 1, -1);
    if (made[slot] >= 0) return made[slot];
    tinygltf::Material material;
    material.name = scene.surfaceNames[surface];
    TranslateSurface(scene.surfaces[surface], translucent, material);
    model.materials.push_back(material);
    made[slot] = static_cast<int>(model.materials.size() - 1);
    return made[slot];
}

int addMesh(tinygltf::Model& model, std::vector<int>& materials, const ExportScene& scene, const MeshPart& part,
            const std::string& name) {
    bool anyColours = false;
    for (const MeshGroup& group : part.groups) anyColours |= scene.surfaces[group.surface].ColourIsDiffuse();
    const PartAccessors vertices = addVertices(model, part, scene.millimetresPerUnit * 0.001f, anyColours);

    std::size_t indexCount = 0;
    for (const MeshGroup& group : part.groups) indexCount += group.indices.size();
    int indexView;
    float* indexBytes = newView(model, indexCount * 4, kElementArrayBuffer, indexView);
    std::uint32_t* indices = reinterpret_cast<std::uint32_t*>(indexBytes);
    for (const MeshGroup& group : part.groups) indices = std::copy(group.indices.begin(), group.indices.end(), indices);

    tinygltf::Mesh mesh;
    mesh.name = name;
    std::size_t first = 0;
    for (const MeshGroup& group : part.groups) {
        const capture::Surface& surface = scene.surfaces[group.surface];
        tinygltf::Primitive primitive;
        primitive.mode = TINYGLTF_MODE_TRIANGLES;
        primitive.attributes["POSITION"] = vertices.position;
        primitive.attributes["NORMAL"] = vertices.normal;
        const bool tracked = surface.ColourIsDiffuse();
        if (tracked) primitive.attributes["COLOR_0"] = vertices.colour;
        primitive.indices = addAccessor(model, indexView, first * 4, group.indices.size(),
                                        TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT, TINYGLTF_TYPE_SCALAR);
        primitive.material = materialFor(model, materials, scene, group.surface, tracked && coloursBelowOne(part, group));
        mesh.primitives.push_back(primitive);
        first += group.indices.size();
    }
    model.meshes.push_back(mesh);
    tinygltf::Node node;
    node.name = name;
    node.mesh = static_cast<int>(model.meshes.size() - 1);
    model.nodes.push_back(node);
    return static_cast<int>(model.nodes.size() - 1);
}

// A rotation matrix (the upper 3x3 of m) as a unit quaternion x, y, z, w.
std::array<double, 4> quaternionOf(const std::array<float, 16>& m) {
    auto r = [&m](int row, int column) { return double(m[static_cast<std::size_t>(column * 4 + row)]); };
    const double trace = r(0, 0) + r(1, 1) + r(2, 2);
    std::array<double, 4> q;
    if (trace > 0.0) {
        const double s = 0.5 / std::sqrt(trace + 1.0);
        q = {(r(2, 1) - r(1, 2)) * s, (r(0, 2) - r(2, 0)) * s, (r(1, 0) - r(0, 1)) * s, 0.25 / s};
    } else if (r(0, 0) > r(1, 1) && r(0, 0) > r(2, 2)) {
        const double s = 2.0 * std::sqrt(1.0 + r(0, 0) - r(1, 1) - r(2, 2));
        q = {0.25 * s, (r(0, 1) + r(1, 0)) / s, (r(0, 2) + r(2, 0)) / s, (r(2, 1) - r(1, 2)) / s};
    } else if (r(1, 1) > r(2, 2)) {
        const double s = 2.0 * std::sqrt(1.0 + r(1, 1) - r(0, 0) - r(2, 2));
        q = {(r(0, 1) + r(1, 0)) / s, 0.25 * s, (r(1, 2) + r(2, 1)) / s, (r(0, 2) - r(2, 0)) / s};
    } else {
        const double s = 2.0 * std::sqrt(1.0 + r(2, 2) - r(0, 0) - r(1, 1));
        q = {(r(0, 2) + r(2, 0)) / s, (r(1, 2) + r(2, 1)) / s, 0.25 * s, (r(1, 0) - r(0, 1)) / s};
    }
    const double length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    for (double& c : q) c /= length;
    return q;
}

bool moves(const std::vector<std::array<float, 16>>& motion) {
    for (const std::array<float, 16>& m : motion)
        if (m != motion.front()) return true;
    return false;
}

// The whole-logo motion as translation and rotation channels of the node,
// one linear key per animation frame and one at the end of the motion.
void addAnimation(tinygltf::Model& model, const ExportScene& scene, int node) {
    const std::size_t n = scene.motion.size();
    if (n < 2 || !moves(scene.motion)) return;
    const float metres = scene.millimetresPerUnit * 0.001f;
    int view;
    float* times = newView(model, n * 4, 0, view);
    const int input = addAccessor(model, view, 0, n, TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_SCALAR);
    // The keys span the motion from t = 0 to t = 1, the last one at exactly loopSeconds.
    for (std::size_t k = 0; k < n; ++k)
        times[k] = k + 1 == n ? scene.loopSeconds : scene.loopSeconds * static_cast<float>(k) / static_cast<float>(n - 1);
    model.accessors[static_cast<std::size_t>(input)].minValues = {0.0};
    model.accessors[static_cast<std::size_t>(input)].maxValues = {double(times[n - 1])};

    float* shift = newView(model, n * 12, 0, view);
    const int translation = addAccessor(model, view, 0, n, TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC3);
    for (std::size_t k = 0; k < n; ++k)
        for (int i = 0; i < 3; ++i) shift[k * 3 + static_cast<std::size_t>(i)] = scene.motion[k][12 + static_cast<std::size_t>(i)] * metres;

    float* turn = newView(model, n * 16, 0, view);
    const int rotation = addAccessor(model, view, 0, n, TINYGLTF_COMPONENT_TYPE_FLOAT, TINYGLTF_TYPE_VEC4);
    std::array<double, 4> previous{0, 0, 0, 1};
    for (std::size_t k = 0; k < n; ++k) {
        std::array<double, 4> q = quaternionOf(scene.motion[k]);
        // Of q and -q, the one nearer the last key, so that each step turns the short way.
        if (q[0] * previous[0] + q[1] * previous[1] + q[2] * previous[2] + q[3] * previous[3] < 0.0)
            for (double& c : q) c = -c;
        for (int i = 0; i < 4; ++i) turn[k * 4 + static_cast<std::size_t>(i)] = static_cast<float>(q[static_cast<std::size_t>(i)]);
        previous = q;
    }

    tinygltf::Animation animation;
    animation.name = "whole-logo motion";
    for (const auto& output : {std::make_pair(translation, "translation"), std::make_pair(rotation, "rotation")}) {
        tinygltf::AnimationSampler sampler;
        sampler.input = input;
        sampler.output = output.first;
        sampler.interpolation = "LINEAR";
        animation.samplers.push_back(sampler);
        tinygltf::AnimationChannel channel;
        channel.sampler = static_cast<int>(animation.samplers.size() - 1);
        channel.target_node = node;
        channel.target_path = output.second;
        animation.channels.push_back(channel);
    }
    model.animations.push_back(animation);
}

}  // namespace

tinygltf::Model BuildGltfModel(const ExportScene& scene) {
    tinygltf::Model model;
    model.asset.version = "2.0";
    model.asset.generator = "logo3d-export";
    model.buffers.emplace_back();
    // All of the buffer at once, so that filling it never moves it.
    std::size_t bytes = 0;
    for (const MeshPart* part : {&scene.solid, &scene.shadow})
        bytes += part->vertices.size() * 32 + part->TriangleCount() * 12 + 16;
    bytes += scene.motion.size() * 32 + 16;
    model.buffers[0].data.reserve(bytes);
    std::vector<int> materials;
    tinygltf::Scene root;
    root.name = "logo3d";
    if (scene.solid.TriangleCount() > 0) {
        root.nodes.push_back(addMesh(model, materials, scene, scene.solid, "logo"));
        addAnimation(model, scene, root.nodes.back());
    }
    if (scene.withShadow && scene.shadow.TriangleCount() > 0)
        root.nodes.push_back(addMesh(model, materials, scene, scene.shadow, "shadow"));
    model.scenes.push_back(root);
    model.defaultScene = 0;
    return model;
}

namespace {

// The model's JSON with its one buffer given as byteLength (and uri, when
// not empty) alone; the buffer's bytes are moved out into bin.
std::string jsonWithoutBuffer(tinygltf::Model& model, const std::string& uri, std::vector<unsigned char>& bin) {
    bin = std::move(model.buffers[0].data);
    model.buffers[0].data.clear();
    std::ostringstream text;
    tinygltf::TinyGLTF writer;
    writer.WriteGltfSceneToStream(&model, text, false, false);
    nlohmann::json json = nlohmann::json::parse(text.str());
    nlohmann::json buffer = {{"byteLength", bin.size()}};
    if (!uri.empty()) buffer["uri"] = uri;
    json["buffers"] = nlohmann::json::array({buffer});
    return json.dump();
}

void putWord(std::string& out, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((word >> shift) & 0xff);
}

// The binary container: header, JSON chunk, BIN chunk, each padded to 4 bytes.
std::string glbContainer(std::string json, const std::vector<unsigned char>& bin) {
    json.append((4 - json.size() % 4) % 4, ' ');
    const std::size_t binPadded = (bin.size() + 3) / 4 * 4;
    const std::size_t total = 12 + 8 + json.size() + (bin.empty() ? 0 : 8 + binPadded);
    std::string out;
    out.reserve(total);
    putWord(out, 0x46546C67u);  // "glTF"
    putWord(out, 2);
    putWord(out, static_cast<std::uint32_t>(total));
    putWord(out, static_cast<std::uint32_t>(json.size()));
    putWord(out, 0x4E4F534Au);  // "JSON"
    out += json;
    if (!bin.empty()) {
        putWord(out, static_cast<std::uint32_t>(binPadded));
        putWord(out, 0x004E4942u);  // "BIN"
        out.append(reinterpret_cast<const char*>(bin.data()), bin.size());
        out.append(binPadded - bin.size(), '\0');
    }
    return out;
}

std::string binName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return (dot == std::string::npos ? name : name.substr(0, dot)) + ".bin";
}

}  // namespace

ExportedFiles GltfFiles(const ExportScene& scene, const std::string& path, bool binary, bool embedBuffer) {
    tinygltf::Model model = BuildGltfModel(scene);
    std::vector<unsigned char> bin;
    if (binary) return {{path, glbContainer(jsonWithoutBuffer(model, "", bin), bin)}};
    if (embedBuffer) {
        std::ostringstream text;
        tinygltf::TinyGLTF writer;
        writer.WriteGltfSceneToStream(&model, text, false, false);
        return {{path, text.str()}};
    }
    const std::string name = binName(path);
    const std::size_t slash = path.find_last_of('/');
    const std::string binPath = slash == std::string::npos ? name : path.substr(0, slash + 1) + name;
    std::string json = jsonWithoutBuffer(model, name, bin);
    return {{binPath, std::string(bin.begin(), bin.end())}, {path, std::move(json)}};
}


std::string GlbBytes(const ExportScene& scene) {
    tinygltf::Model model = BuildGltfModel(scene);
    std::vector<unsigned char> bin;
    return glbContainer(jsonWithoutBuffer(model, "", bin), bin);
}
