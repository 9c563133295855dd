#include "Animation.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <vector>

extern char** environ;

namespace {

// Runs a program found on PATH with the given arguments and waits for it;
// no shell, so no name needs quoting.
std::string run(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    const int spawned = posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    if (spawned != 0) return "cannot run " + arguments[0] + ": " + std::strerror(spawned);
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return "lost " + arguments[0];
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return arguments[0] + " failed";
    return {};
}

}  // namespace

std::string FramePath(const std::string& directory, unsigned k) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%03u.png", k);
    return directory + name;
}

std::string WriteGif(const std::string& directory, unsigned count, unsigned framesPerSecond, const std::string& path,
                     bool transparent) {
    std::vector<std::string> arguments{"convert", "-delay", "1x" + std::to_string(framesPerSecond), "-loop", "0"};
    if (transparent) arguments.insert(arguments.end(), {"-dispose", "Background"});
    for (unsigned k = 0; k < count; ++k) arguments.push_back(FramePath(directory, k));
    if (transparent) arguments.insert(arguments.end(), {"-channel", "A", "-threshold", "50%", "+channel"});
    arguments.insert(arguments.end(), {"-layers", "Optimize", path});
    const std::string problem = run(arguments);
    return problem.empty() ? problem : problem + " writing " + path;
}

std::string WriteApng(const std::string& directory, unsigned count, unsigned framesPerSecond, const std::string& path) {
    const std::string problem =
        run({"ffmpeg", "-loglevel", "error", "-nostdin", "-y", "-framerate", std::to_string(framesPerSecond), "-i",
             directory + "/frame-%03d.png", "-frames:v", std::to_string(count), "-plays", "0", "-f", "apng", path});
    return problem.empty() ? problem : problem + " writing " + path;
}
