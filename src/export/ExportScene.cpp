#include "ExportScene.h"

#include <cstring>

#include "text/LogoString.h"

namespace {
bool same(const float* a, const Color& c) {
    return a[0] == c.red && a[1] == c.green && a[2] == c.blue && a[3] == c.alpha;
}

bool isMaterial(const capture::Surface& s, const Material& m) {
    return same(s.ambient, m.ambient) && same(s.diffuse, m.diffuse) && same(s.specular, m.specular) &&
           same(s.emission, m.emission) && s.shininess == m.shininess;
}
}  // namespace

std::vector<std::string> SurfaceNames(const std::vector<capture::Surface>& surfaces, const LogoString& logo) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
        std::string name = "surface " + std::to_string(i);
        for (std::size_t m = 0; m < logo.materials.size(); ++m)
            if (isMaterial(surfaces[i], logo.materials[m])) {
                name = "material " + std::to_string(m);
                break;
            }
        // Two surfaces of one material (with and without colour material)
        // still need names of their own.
        for (const std::string& taken : names)
            if (taken == name) name += " surface " + std::to_string(i);
        names.push_back(name);
    }
    return names;
}
