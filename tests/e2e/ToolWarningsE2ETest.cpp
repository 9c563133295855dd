// The render tool and the exporter warn of what the viewer would quietly
// replace in the files they read, in the checker's own lines.

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "CommandOutput.h"
#include "DamagedFiles.h"
#include "X11Harness.h"

namespace e2e {
namespace {

constexpr std::size_t kShown = 20;

std::vector<std::string> warningLines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line))
        if (line.find(": warning: ") != std::string::npos || line.rfind("... and ", 0) == 0) lines.push_back(line);
    return lines;
}

// The checker's warnings as a tool shows them: the first twenty, then a count.
std::vector<std::string> asShown(std::vector<std::string> lines) {
    if (lines.size() <= kShown) return lines;
    const std::size_t more = lines.size() - kShown;
    lines.resize(kShown);
    lines.push_back("... and " + std::to_string(more) + " more warnings (logo3d-check lists them all)");
    return lines;
}

TEST(ToolWarnings, RenderAndExportWarnAsTheCheckerDoesOverDamagedFiles) {
    VirtualDisplay display;
    ASSERT_TRUE(display.Started());
    TemporaryDirectory files;
    ASSERT_FALSE(files.Path().empty());
    const std::string in = "cd '" + files.Path() + "' && ";
    const std::vector<std::string> names = {"font.src", "env.src", "string.src"};
    std::mt19937 random(23);
    int compared = 0, withWarnings = 0, cut = 0;
    for (int round = 0; round < 8; ++round) {
        for (const std::string& damagedName : names) {
            for (const std::string& name : names) {
                const std::string original = damaged_files::DataFile(name);
                std::ofstream(files.Path() + "/" + name, std::ios::binary)
                    << (name != damagedName ? original
                        : round == 7     ? damaged_files::Noise(random)
                                         : damaged_files::Damaged(original, random));
            }
            const std::vector<std::string> checker =
                asShown(warningLines(RunCommand(in + "'" LOGO3D_CHECK "' 2>/dev/null").text));
            const CommandOutput exported = RunCommand(in + "'" LOGO3D_EXPORT "' -o logo.glb 2>&1 >/dev/null");
            const CommandOutput rendered =
                RunCommand(in + "DISPLAY=" + display.Name() + " LIBGL_ALWAYS_SOFTWARE=1 '" LOGO3D_RENDER
                                "' -W 32 -H 32 -o logo.png 2>&1 >/dev/null");
            EXPECT_EQ(warningLines(exported.text), checker) << damagedName << " round " << round;
            EXPECT_EQ(warningLines(rendered.text), checker) << damagedName << " round " << round;
            EXPECT_NE(exported.status, -1);
            EXPECT_NE(rendered.status, -1);
            ++compared;
            withWarnings += checker.empty() ? 0 : 1;
            cut += checker.size() > kShown ? 1 : 0;
        }
    }
    // The corpus must exercise what is compared.
    EXPECT_GT(withWarnings, compared / 3);
    std::cout << compared << " damaged sets, " << withWarnings << " with warnings, " << cut << " cut at twenty\n";

    // Quiet: no warnings, but the failure itself is still said.
    std::ofstream(files.Path() + "/string.src", std::ios::binary)
        << damaged_files::DataFile("string.src").replace(damaged_files::DataFile("string.src").find("\n1 4 5\n"), 7,
                                                          "\n1 4 9\n");
    EXPECT_EQ(warningLines(RunCommand(in + "'" LOGO3D_EXPORT "' -o logo.glb 2>&1 >/dev/null").text).size(), 1u);
    const CommandOutput quiet = RunCommand(in + "'" LOGO3D_EXPORT "' --quiet -o logo.glb 2>&1");
    EXPECT_EQ(quiet.status, 0);
    EXPECT_TRUE(warningLines(quiet.text).empty()) << quiet.text;
    EXPECT_EQ(quiet.text.rfind("wrote logo.glb\n", 0), 0u) << quiet.text;
    const CommandOutput failing = RunCommand(in + "'" LOGO3D_EXPORT "' --quiet -e absent.src -o logo.glb 2>&1");
    EXPECT_EQ(failing.text, "cannot open environment file : absent.src\n");
}

}  // namespace
}  // namespace e2e
