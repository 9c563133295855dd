#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "scene/GuardedMain.h"

namespace {

// What a guarded body writes to the standard error stream, and its status.
template <typename Body>
std::pair<int, std::string> runCapturingErrors(Body body) {
    std::ostringstream captured;
    std::streambuf* original = std::cerr.rdbuf(captured.rdbuf());
    const int status = RunGuarded("logo3d-test", body);
    std::cerr.rdbuf(original);
    std::set_terminate(nullptr);
    return {status, captured.str()};
}

TEST(GuardedMainTest, AnEscapingExceptionBecomesOneLineAndStatusOne) {
    EXPECT_EQ(runCapturingErrors([]() -> int { throw std::runtime_error("out of cheese"); }),
              std::make_pair(1, std::string("logo3d-test: internal error: out of cheese\n")));
    EXPECT_EQ(runCapturingErrors([]() -> int { throw 42; }),
              std::make_pair(1, std::string("logo3d-test: internal error: unknown exception\n")));
    EXPECT_EQ(runCapturingErrors([] { return 3; }), std::make_pair(3, std::string()));
}

}  // namespace
