#pragma once

#include <string>
#include <vector>

#include "RecordingGL.h"
#include "app/Globals.h"

namespace app_test {

// Puts the global records back to their start-up values and forgets every
// recorded call, so each test sees a fresh program.
inline void ResetProgram() {
    viewState = ViewState();
    environment = Environment();
    logoString.frameCount = 1;
    logoString.trailWeight = 0.5f;
    logoString.trailRatio = 0.5f;
    logoString.font = nullptr;  // an unbound logo draws nothing of its own
    logoString.logoList = logoString.shadowList = -1;
    gl_record::Reset();
}

inline std::vector<std::string> Names(const std::vector<gl_record::Call>& calls) {
    std::vector<std::string> names;
    for (const gl_record::Call& call : calls) names.push_back(call.name);
    return names;
}

// One call as "name a b c", enough to compare sequences at a glance.
inline std::string Describe(const gl_record::Call& call) {
    std::string text = call.name;
    for (double arg : call.args) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, " %g", arg);
        text += buffer;
    }
    return text;
}

inline std::vector<std::string> Describe(const std::vector<gl_record::Call>& calls) {
    std::vector<std::string> out;
    for (const gl_record::Call& call : calls) out.push_back(Describe(call));
    return out;
}

// The calls the global logo issues for one Draw as it stands (with no font
// bound it draws nothing, but still keeps its matrix balanced), so the tests
// of the callbacks can expect exactly those in the logo's place.
inline std::vector<std::string> LogoDrawCalls() {
    gl_record::Reset();
    logoString.Draw();
    std::vector<std::string> calls = Describe(gl_record::Calls());
    gl_record::Reset();
    return calls;
}

inline std::vector<std::string> Spliced(std::vector<std::string> before, const std::vector<std::string>& middle,
                                        const std::vector<std::string>& after) {
    before.insert(before.end(), middle.begin(), middle.end());
    before.insert(before.end(), after.begin(), after.end());
    return before;
}

}  // namespace app_test
