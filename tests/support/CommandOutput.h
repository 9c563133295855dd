#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

// What a shell command printed on its standard output and how it ended; the
// tests that run the programs as a user would all read them this way.
struct CommandOutput {
    int status = -1;  // exit status; -1 when the command did not exit normally
    std::string text;
};

inline CommandOutput RunCommand(const std::string& command) {
    CommandOutput result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.text.append(buffer, count);
    const int status = pclose(pipe);
    result.status = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    return result;
}
