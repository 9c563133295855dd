// Compares a slicer's SLA layers with the mesh they came from: for each
// layer picture (grey levels, lit pixels times the pixel's area) the area
// of the binary STL's cross-section at that layer's height, by the nonzero
// winding of the sliced, oriented triangle edges. A layer whose areas
// differ by more than 5% of the largest layer's area fails the check.
// Usage: print_layer_areas MESH.stl LAYER_DIR
// LAYER_DIR holds an unpacked .sl1: config.ini, prusaslicer.ini and the
// layers' PNG pictures in name order.

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Vec3 = std::array<double, 3>;
using Triangle = std::array<Vec3, 3>;

std::vector<Triangle> readBinaryStl(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char header[80];
    std::uint32_t count = 0;
    if (!in.read(header, 80) || !in.read(reinterpret_cast<char*>(&count), 4)) return {};
    std::vector<Triangle> triangles;
    for (std::uint32_t i = 0; i < count; ++i) {
        float f[12];
        char attribute[2];
        if (!in.read(reinterpret_cast<char*>(f), sizeof f) || !in.read(attribute, 2)) return {};
        Triangle t;
        for (int c = 0; c < 3; ++c) t[c] = {f[3 + 3 * c], f[4 + 3 * c], f[5 + 3 * c]};
        triangles.push_back(t);
    }
    return triangles;
}

// "key = value" lines.
std::map<std::string, std::string> readIni(const std::string& path) {
    std::map<std::string, std::string> values;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        auto trim = [](std::string s) {
            s.erase(0, s.find_first_not_of(" \t\r"));
            s.erase(s.find_last_not_of(" \t\r") + 1);
            return s;
        };
        values[trim(line.substr(0, equals))] = trim(line.substr(equals + 1));
    }
    return values;
}

// The lit share of a layer picture, in pixels (grey 255 is one pixel).
bool litPixels(const std::string& path, double& lit) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_GRAY;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return false;
    std::uint64_t sum = 0;
    for (png_byte p : pixels) sum += p;
    lit = double(sum) / 255.0;
    return true;
}

struct Segment {
    double x0, y0, x1, y1;  // inside on the left
};

// The triangles' cut at height z, each piece turned so that the solid is on
// its left (the outline runs counter-clockwise around material seen from above).
std::vector<Segment> slice(const std::vector<Triangle>& triangles, double z) {
    std::vector<Segment> segments;
    for (const Triangle& t : triangles) {
        Vec3 points[2];
        int found = 0;
        for (int i = 0; i < 3 && found < 2; ++i) {
            const Vec3& a = t[i];
            const Vec3& b = t[(i + 1) % 3];
            if ((a[2] >= z) == (b[2] >= z)) continue;
            const double s = (z - a[2]) / (b[2] - a[2]);
            points[found++] = {a[0] + s * (b[0] - a[0]), a[1] + s * (b[1] - a[1]), z};
        }
        if (found != 2) continue;
        const double ux = t[1][0] - t[0][0], uy = t[1][1] - t[0][1], uz = t[1][2] - t[0][2];
        const double vx = t[2][0] - t[0][0], vy = t[2][1] - t[0][1], vz = t[2][2] - t[0][2];
        const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz;
        Segment s{points[0][0], points[0][1], points[1][0], points[1][1]};
        // Outward normal on the right: the direction is (-ny, nx).
        if ((s.x1 - s.x0) * -ny + (s.y1 - s.y0) * nx < 0) {
            std::swap(s.x0, s.x1);
            std::swap(s.y0, s.y1);
        }
        segments.push_back(s);
    }
    return segments;
}

// The area where the winding number of the segments is not zero, measured
// along scan lines `pitch` apart (through the centres of pixel rows).
double nonzeroWindingArea(const std::vector<Segment>& segments, double pitch) {
    if (segments.empty()) return 0.0;
    double low = segments[0].y0, high = low;
    for (const Segment& s : segments) low = std::min({low, s.y0, s.y1}), high = std::max({high, s.y0, s.y1});
    // Segments by the first row they cross.
    const long first = static_cast<long>(std::floor(low / pitch));
    const long last = static_cast<long>(std::ceil(high / pitch));
    std::vector<std::vector<std::size_t>> startsAt(static_cast<std::size_t>(last - first + 1));
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const double y = std::min(segments[i].y0, segments[i].y1);
        startsAt[static_cast<std::size_t>(std::floor(y / pitch) - first)].push_back(i);
    }
    double area = 0.0;
    std::vector<std::size_t> active;
    std::vector<std::pair<double, int>> crossings;
    for (long row = first; row <= last; ++row) {
        const double y = (row + 0.5) * pitch;
        for (std::size_t i : startsAt[static_cast<std::size_t>(row - first)]) active.push_back(i);
        crossings.clear();
        std::size_t kept = 0;
        for (std::size_t i : active) {
            const Segment& s = segments[i];
            if (std::max(s.y0, s.y1) <= y) continue;  // passed: dropped from the active list
            active[kept++] = i;
            if (std::min(s.y0, s.y1) > y) continue;
            const double x = s.x0 + (y - s.y0) / (s.y1 - s.y0) * (s.x1 - s.x0);
            crossings.emplace_back(x, s.y1 > s.y0 ? 1 : -1);
        }
        active.resize(kept);
        std::sort(crossings.begin(), crossings.end());
        int winding = 0;
        for (std::size_t k = 0; k + 1 < crossings.size(); ++k) {
            winding += crossings[k].second;
            if (winding != 0) area += (crossings[k + 1].first - crossings[k].first) * pitch;
        }
    }
    return area;
}

double number(const std::map<std::string, std::string>& ini, const std::string& key) {
    const auto found = ini.find(key);
    return found == ini.end() ? NAN : std::atof(found->second.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: print_layer_areas MESH.stl LAYER_DIR\n";
        return 2;
    }
    const std::vector<Triangle> mesh = readBinaryStl(argv[1]);
    const std::string dir = argv[2];
    const auto config = readIni(dir + "/config.ini");
    const auto printer = readIni(dir + "/prusaslicer.ini");
    const double layer = number(config, "layerHeight");
    const double first = number(printer, "initial_layer_height");
    const double pixelWidth = number(printer, "display_width") / number(printer, "display_pixels_x");
    const double pixelHeight = number(printer, "display_height") / number(printer, "display_pixels_y");
    std::vector<std::string> pictures;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".png") pictures.push_back(entry.path().string());
    std::sort(pictures.begin(), pictures.end());
    if (mesh.empty() || pictures.empty() || !(layer > 0) || !(pixelWidth > 0) || !(pixelHeight > 0)) {
        std::cerr << "print_layer_areas: no mesh in " << argv[1] << " or no layers in " << dir << '\n';
        return 1;
    }
    double bottom = mesh[0][0][2];
    for (const Triangle& t : mesh)
        for (const Vec3& p : t) bottom = std::min(bottom, p[2]);
    // Each layer is cut through its middle: the first is `first` thick
    // (the layer height when not given), the others `layer`.
    const double firstLayer = first > 0 ? first : layer;
    std::vector<double> sliced, pictured;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const double z = i == 0 ? bottom + firstLayer / 2 : bottom + firstLayer + (i - 0.5) * layer;
        double lit = 0;
        if (!litPixels(pictures[i], lit)) {
            std::cerr << "print_layer_areas: cannot read " << pictures[i] << '\n';
            return 1;
        }
        pictured.push_back(lit * pixelWidth * pixelHeight);
        sliced.push_back(nonzeroWindingArea(slice(mesh, z), pixelHeight));
    }
    const double largest = std::max(*std::max_element(sliced.begin(), sliced.end()),
                                    *std::max_element(pictured.begin(), pictured.end()));
    std::size_t worst = 0;
    for (std::size_t i = 0; i < sliced.size(); ++i)
        if (std::fabs(sliced[i] - pictured[i]) > std::fabs(sliced[worst] - pictured[worst])) worst = i;
    const double worstShare = std::fabs(sliced[worst] - pictured[worst]) / largest;
    std::printf("%zu layers, largest %.1f mm²; worst layer %zu: sliced %.1f mm², pictured %.1f mm² (%.2f%% of the largest)\n",
                sliced.size(), largest, worst, sliced[worst], pictured[worst], 100 * worstShare);
    if (std::getenv("LOGO3D_LAYER_AREAS"))
        for (std::size_t i = 0; i < sliced.size(); ++i) std::printf("%zu %.2f %.2f\n", i, sliced[i], pictured[i]);
    return worstShare <= 0.05 ? 0 : 1;
}
