#include "BenchScenes.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "app/Globals.h"
#include "app/Startup.h"

namespace {
std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The default string file with its text block replaced by the given lines.
std::string withText(const std::string& stringFile, const std::vector<std::string>& lines) {
    std::istringstream in(stringFile);
    std::ostringstream out;
    std::string line;
    bool inTextBlock = true;
    bool written = false;
    while (std::getline(in, line)) {
        if (inTextBlock) {
            if (!written && !line.empty() && line[0] != '#') {
                for (const std::string& text : lines)
                    out << text << '\n' << std::string(text.size(), '5') << '\n'
                        << std::string(text.size(), '0') << '\n' << std::string(text.size(), '0') << '\n';
                out << "\\\n";
                written = true;
            }
            if (line == "\\") inTextBlock = false;
            continue;
        }
        out << line << '\n';
    }
    return out.str();
}

const char* const kFirstLine = "THE QUICK BROWN FOX ";
const char* const kSecondLine = "JUMPS OVER LAZY DOGS";
}  // namespace

BenchScene SceneNamed(const std::string& dataDirectory, const std::string& name) {
    const std::string stringFile = fileText(dataDirectory + "/string.src");
    if (name == "long") return {"40 characters on two lines", withText(stringFile, {kFirstLine, kSecondLine}), 40};
    if (name == "longer") {
        std::vector<std::string> lines;
        for (int i = 0; i < 5; ++i) lines.insert(lines.end(), {kFirstLine, kSecondLine});
        return {"400 characters on ten lines", withText(stringFile, lines), 400};
    }
    return {"default logo", stringFile, 0};
}

BenchScene SceneOfArguments(const std::string& dataDirectory, int argc, char** argv) {
    return SceneNamed(dataDirectory, argc > 2 ? argv[2] : "default");
}
bool LoadScene(const std::string& dataDirectory, const BenchScene& scene) {
    if (!LoadFont(dataDirectory + "/font.src", font, std::cerr)) return false;
    if (!LoadEnvironment(dataDirectory + "/env.src", environment, std::cerr)) return false;
    std::istringstream in(scene.stringText);
    if (logoString.Read(in) != 0) {
        std::cerr << "the scene's string file does not read: " << scene.name << std::endl;
        return false;
    }
    return true;
}
