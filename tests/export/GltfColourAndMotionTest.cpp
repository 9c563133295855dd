// What standard glTF readers take from the exported colours and motion:
// linear colours (the string file's sRGB values converted) and one clip that
// runs from the first frame of the motion to its last, --seconds long.

#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <set>

#include "CommandOutput.h"
#include "export/GltfMaterial.h"
#include "export/LogoCapture.h"
#include "app/Startup.h"
#include "scene/Environment.h"
#include "text/LogoString.h"
#include "text/StrokeCharacterSet.h"

namespace {

const std::string kData = std::string(LOGO3D_SOURCE_DIR) + "/data/";

tinygltf::Model exported(const std::string& extra) {
    std::string dir = ::testing::TempDir() + "logo3d-colour-XXXXXX";
    EXPECT_NE(mkdtemp(&dir[0]), nullptr);
    const std::string path = dir + "/logo.glb";
    const CommandOutput run = RunCommand("'" + std::string(LOGO3D_EXPORT) + "' -f '" + kData + "font.src' -e '" + kData +
                                         "env.src' -s '" + kData + "string.src' -o '" + path + "' " + extra);
    EXPECT_EQ(run.status, 0) << run.text;
    tinygltf::Model model;
    tinygltf::TinyGLTF loader;
    std::string error, warning;
    EXPECT_TRUE(loader.LoadBinaryFromFile(&model, &error, &warning, path)) << error;
    return model;
}

const unsigned char* bytesOf(const tinygltf::Model& model, int index) {
    const tinygltf::Accessor& a = model.accessors[static_cast<std::size_t>(index)];
    const tinygltf::BufferView& v = model.bufferViews[static_cast<std::size_t>(a.bufferView)];
    return model.buffers[static_cast<std::size_t>(v.buffer)].data.data() + v.byteOffset + a.byteOffset;
}

using Rgb = std::array<long, 3>;

// Colours on a grid of 1/4096, fine enough to tell any two the files use.
Rgb key(double r, double g, double b) { return {std::lround(r * 4096), std::lround(g * 4096), std::lround(b * 4096)}; }

}  // namespace

TEST(GltfColour, LinearFromSrgbFollowsTheStandardCurve) {
    const struct {
        float srgb, linear;
    } table[] = {{0.0f, 0.0f}, {0.04045f, 0.0031308f}, {0.2f, 0.0331048f}, {0.5f, 0.2140411f}, {0.8f, 0.6038273f},
                 {1.0f, 1.0f}, {-0.5f, 0.0f}, {1.5f, 1.0f}};
    for (const auto& row : table) EXPECT_NEAR(LinearFromSrgb(row.srgb), row.linear, 1e-5f) << row.srgb;
}

TEST(GltfColour, VertexColoursAreTheLinearConversionsOfTheDrawnColours) {
    StrokeFontCharacterSet font;
    Environment environment;
    LogoString logo;
    std::ostringstream errors;
    ASSERT_TRUE(LoadFont(kData + "font.src", font, errors) && LoadEnvironment(kData + "env.src", environment, errors) &&
                LoadLogoString(kData + "string.src", logo, errors))
        << errors.str();
    const CapturedLogo captured = CaptureLogo(logo, font, -1);
    std::set<Rgb> drawn;
    for (std::uint32_t i : captured.solid)
        for (std::uint32_t v : captured.drawing.triangles[i].vertices) {
            const float* c = captured.drawing.vertices[v].colour;
            drawn.insert(key(LinearFromSrgb(c[0]), LinearFromSrgb(c[1]), LinearFromSrgb(c[2])));
        }

    const tinygltf::Model model = exported("");
    std::set<Rgb> written;
    for (const tinygltf::Mesh& mesh : model.meshes)
        for (const tinygltf::Primitive& primitive : mesh.primitives) {
            const auto found = primitive.attributes.find("COLOR_0");
            if (found == primitive.attributes.end()) continue;
            const tinygltf::Accessor& a = model.accessors[static_cast<std::size_t>(found->second)];
            ASSERT_EQ(a.componentType, TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT);
            ASSERT_TRUE(a.normalized);
            const auto* c = reinterpret_cast<const std::uint16_t*>(bytesOf(model, found->second));
            for (std::size_t i = 0; i < a.count; ++i)
                written.insert(key(c[i * 4] / 65535.0, c[i * 4 + 1] / 65535.0, c[i * 4 + 2] / 65535.0));
        }
    ASSERT_GT(written.size(), 1u);
    // Within the 16-bit step and the grid's rounding.
    for (const Rgb& c : written) {
        long nearest = 1L << 30;
        for (const Rgb& d : drawn)
            nearest = std::min(nearest, std::max({std::labs(c[0] - d[0]), std::labs(c[1] - d[1]), std::labs(c[2] - d[2])}));
        EXPECT_LE(nearest, 1) << "a written colour no drawn colour converts to: " << c[0] << " " << c[1] << " " << c[2];
    }
}

TEST(GltfMotion, TheClipRunsTheWholeMotionInExactlyTheAskedSeconds) {
    for (const double seconds : {3.0, 5.0, 0.75}) {
        SCOPED_TRACE(seconds);
        std::ostringstream asked;
        asked << "--seconds " << seconds;
        const tinygltf::Model model = exported(asked.str());
        ASSERT_EQ(model.animations.size(), 1u);
        const int input = model.animations[0].samplers[0].input;
        const tinygltf::Accessor& times = model.accessors[static_cast<std::size_t>(input)];
        const float* t = reinterpret_cast<const float*>(bytesOf(model, input));
        EXPECT_EQ(t[0], 0.0f);
        EXPECT_NEAR(t[times.count - 1], seconds, 1e-6);
        EXPECT_NEAR(times.maxValues[0], seconds, 1e-6);
        for (std::size_t k = 1; k < times.count; ++k) EXPECT_GT(t[k], t[k - 1]);
    }
}
