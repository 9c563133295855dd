#include "DamagedFiles.h"

#include <fstream>
#include <sstream>

namespace damaged_files {

namespace {
// Characters that matter to the readers, so damage is more than noise.
const char kInteresting[] = "0123456789.-+eE#\\ \t\r\nlpscdfx";
}  // namespace

std::string DataFile(const std::string& name) {
    std::ifstream in(std::string(LOGO3D_SOURCE_DIR) + "/data/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Damaged(std::string text, std::mt19937& random) {
    std::uniform_int_distribution<int> kind(0, 4);
    const int changes = std::uniform_int_distribution<int>(1, 8)(random);
    for (int n = 0; n < changes && !text.empty(); ++n) {
        std::uniform_int_distribution<std::size_t> at(0, text.size() - 1);
        switch (kind(random)) {
            case 0: text[at(random)] = kInteresting[random() % (sizeof kInteresting - 1)]; break;
            case 1: text[at(random)] = static_cast<char>(random() & 0xff); break;
            case 2: text.erase(at(random), std::uniform_int_distribution<std::size_t>(1, 40)(random)); break;
            case 3: text.insert(at(random), std::to_string(std::uniform_real_distribution<double>(-1e9, 1e9)(random)));
                break;
            default: text.resize(at(random)); break;
        }
    }
    return text;
}

std::string Noise(std::mt19937& random) {
    std::string text(std::uniform_int_distribution<std::size_t>(0, 3000)(random), ' ');
    for (char& c : text) c = static_cast<char>(random() & 0xff);
    return text;
}

}  // namespace damaged_files
