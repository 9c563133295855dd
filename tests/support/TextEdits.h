#pragma once
// Reading a data file whole and changing one passage of it: how the tests of
// live editing make the saves an editor would.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

inline std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text with the first `from` replaced by `to`; a `from` that is not
// there fails the test, since the edit would silently do nothing.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}
