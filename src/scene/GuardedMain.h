#pragma once

// The last resort of every program of logo3d: whatever escapes the program's
// own handling (an exception out of main or out of a window callback, which
// would otherwise abort with the library's own words) becomes one line on
// the standard error stream and exit status 1.

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

namespace guarded_main {

inline const char*& ProgramName() {
    static const char* name = "logo3d";
    return name;
}

inline std::string Describe(std::exception_ptr failure) {
    if (!failure) return "ended abnormally";
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& exception) {
        return exception.what();
    } catch (...) {
    }
    return "unknown exception";
}

inline void Report(std::exception_ptr failure) {
    std::cerr << ProgramName() << ": internal error: " << Describe(failure) << std::endl;
}

// Reached from inside GLUT's main loop too, where unwinding cannot pass.
[[noreturn]] inline void OnTerminate() {
    Report(std::current_exception());
    std::_Exit(1);
}

}  // namespace guarded_main

// Runs body (returning the exit status) under the last resort.
template <typename Body>
int RunGuarded(const char* program, Body body) {
    guarded_main::ProgramName() = program;
    std::set_terminate(guarded_main::OnTerminate);
    try {
        return body();
    } catch (...) {
        guarded_main::Report(std::current_exception());
        return 1;
    }
}
