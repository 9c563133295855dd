#include "StlWriter.h"

#include <cmath>
#include <cstdint>
#include <cstring>


namespace {

void put(std::string& out, const void* data, std::size_t bytes) {
    out.append(static_cast<const char*>(data), bytes);
}

void putFloats(std::string& out, const float* values, int count) {
    for (int i = 0; i < count; ++i) {
        std::uint32_t bits;
        std::memcpy(&bits, &values[i], 4);
        const unsigned char little[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                                         static_cast<unsigned char>(bits >> 16),
                                         static_cast<unsigned char>(bits >> 24)};
        put(out, little, 4);
    }
}

}  // namespace

std::string StlBytes(const SolidMesh& mesh) {
    const std::uint32_t count = static_cast<std::uint32_t>(mesh.triangles.size());
    std::string out(80, ' ');
    out.reserve(84 + std::size_t{count} * 50);
    const char header[] = "logo3d-export binary STL, millimetres";
    std::memcpy(&out[0], header, sizeof header - 1);
    const unsigned char countBytes[4] = {static_cast<unsigned char>(count), static_cast<unsigned char>(count >> 8),
                                         static_cast<unsigned char>(count >> 16),
                                         static_cast<unsigned char>(count >> 24)};
    put(out, countBytes, 4);
    for (const auto& t : mesh.triangles) {
        float corner[9];
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k) corner[c * 3 + k] = mesh.vertices[t[c]][k];
        const float u[3] = {corner[3] - corner[0], corner[4] - corner[1], corner[5] - corner[2]};
        const float v[3] = {corner[6] - corner[0], corner[7] - corner[1], corner[8] - corner[2]};
        float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
        const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 0.0f)
            for (float& x : n) x /= length;
        putFloats(out, n, 3);
        putFloats(out, corner, 9);
        out.append(2, '\0');
    }
    return out;
}

