// A print the printer would ruin is not made: letters standing on the
// plate, not above it on a needle of swept-back geometry, and a print whose
// parts float above the plate is refused unless allowed.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DrawnText.h"
#include "export/ExportLogo.h"
#include "solid/OpenVdbGrid.h"
#include "solid/PrintPreparation.h"

namespace {

std::string sourceFile(const std::string& path) {
    std::ifstream in(std::string(LOGO3D_SOURCE_DIR) + "/" + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

float glyphDepth(const DrawnLogo& drawn) {
    float lo = 1e30f, hi = -1e30f;
    for (const DrawnTriangle& t : drawn.triangles)
        for (const Point3& p : t.corners) lo = std::min(lo, p[2]), hi = std::max(hi, p[2]);
    return hi - lo;
}

// Laid out for a printer (without a plate), a text of nothing but strokes
// is as deep as its strokes: a face inside a stroke's joint or cap, swept
// back as though it were a sheet, would stand out behind the letter.
TEST(PrintLayout, StrokesLaidOutAreNoDeeperThanDrawn) {
    struct Face {
        const char* font;
        int shape;
    };
    const Face faces[] = {{"data/font.src", -1}, {"fonts/hershey/scripts.src", 9}, {"fonts/hershey/futural.src", 5}};
    for (const Face& face : faces) {
        SCOPED_TRACE(face.font);
        const DrawnLogo drawn = DrawnText(std::string(LOGO3D_SOURCE_DIR) + "/" + face.font, SweepStyle{face.shape, -1},
                                          "abcdefghijklm|nopqrstuvwxyz|ABCDEGJKMQRS|0123456789&@");
        PrintLayout layout;
        layout.onBed = true;
        const PrintInput in = PreparePrint(drawn, layout);
        float lo = 1e30f, hi = -1e30f;
        for (const auto& group : in.groups)
            for (const TriangleCorners& t : group)
                for (const Point3& p : t) lo = std::min(lo, p[2]), hi = std::max(hi, p[2]);
        EXPECT_LE(hi - lo, glyphDepth(drawn) * in.millimetresPerUnit * 1.001f);
    }
}

// The example whose letters stand in front of a round plate, not on it:
// on a base, they would print in the air.
TEST(PrintLayout, APrintWithFloatingPartsIsNotWrittenUnlessAllowed) {
    LogoTexts texts;
    texts.font.text = sourceFile("data/font.src");
    texts.environment.text = sourceFile("data/env.src");
    texts.string.text = sourceFile("examples/plate/string.src");
    ExportSettings settings;
    settings.format = ExportFormat::kStl;
    settings.output = "plate.stl";
    settings.print.onBed = true;
    settings.print.width = 60.0f;
    settings.print.base = 2.0f;
    settings.print.voxel = 0.3f;
    settings.grid = MakeOpenVdbGrid;
    const ExportResult refused = ExportLogo(texts, settings);
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.files.empty());
    EXPECT_NE(refused.problem.find("does not reach the base (it floats"), std::string::npos) << refused.problem;

    settings.print.allowFloating = true;
    const ExportResult allowed = ExportLogo(texts, settings);
    EXPECT_EQ(allowed.status, 0);
    ASSERT_EQ(allowed.files.size(), 1u);
}

}  // namespace
