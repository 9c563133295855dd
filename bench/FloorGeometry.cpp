#include "FloorGeometry.h"

#include <cstdio>
#include <memory>

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

template <typename T>
bool writeAll(std::FILE* file, const std::vector<T>& items) {
    const std::uint64_t count = items.size();
    return std::fwrite(&count, sizeof count, 1, file) == 1 &&
           std::fwrite(items.data(), sizeof(T), items.size(), file) == items.size();
}

template <typename T>
bool readAll(std::FILE* file, std::vector<T>& items) {
    std::uint64_t count = 0;
    if (std::fread(&count, sizeof count, 1, file) != 1 || count > (1u << 28)) return false;
    items.resize(count);
    return std::fread(items.data(), sizeof(T), items.size(), file) == items.size();
}

}  // namespace

std::vector<FloorVertex> FloorGeometry::Unshared() const {
    std::vector<FloorVertex> out;
    out.reserve(indices.size());
    for (std::uint32_t index : indices) out.push_back(vertices[index]);
    return out;
}

bool WriteFloorGeometry(const FloorGeometry& geometry, const std::string& path) {
    File file(std::fopen(path.c_str(), "wb"), std::fclose);
    return file && writeAll(file.get(), geometry.vertices) && writeAll(file.get(), geometry.indices) &&
           writeAll(file.get(), geometry.groups);
}

bool ReadFloorGeometry(FloorGeometry& geometry, const std::string& path) {
    File file(std::fopen(path.c_str(), "rb"), std::fclose);
    return file && readAll(file.get(), geometry.vertices) && readAll(file.get(), geometry.indices) &&
           readAll(file.get(), geometry.groups);
}
