#include "BenchScenes.h"

#include <fstream>
#include <iostream>
#include <sstream>

#include "app/Globals.h"
#include "app/Startup.h"

namespace {
std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The default string file with its text block replaced by two lines of
// twenty characters each.
std::string withText(const std::string& stringFile, const std::string& first, const std::string& second) {
    std::istringstream in(stringFile);
    std::ostringstream out;
    std::string line;
    bool inTextBlock = true;
    bool written = false;
    while (std::getline(in, line)) {
        if (inTextBlock) {
            if (!written && !line.empty() && line[0] != '#') {
                for (const std::string& text : {first, second})
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
}  // namespace

BenchScene DefaultScene(const std::string& dataDirectory) {
    return {"default logo", fileText(dataDirectory + "/string.src")};
}

BenchScene LongTextScene(const std::string& dataDirectory) {
    return {"40 characters on two lines",
            withText(fileText(dataDirectory + "/string.src"), "THE QUICK BROWN FOX ", "JUMPS OVER LAZY DOGS")};
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
