#include "Animation.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "FileWriting.h"

extern char** environ;

namespace {

// The last line a program printed that says something, for a one-line report.
std::string lastLine(const std::string& output) {
    std::size_t end = output.find_last_not_of(" \t\r\n");
    if (end == std::string::npos) return {};
    const std::size_t start = output.find_last_of('\n', end);
    return output.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1) + 1);
}

// Runs a program found on PATH with the given arguments and waits for it;
// no shell, so no name needs quoting. What it prints is kept off the
// screen; on failure its last line is the reason returned. quietUnlessFailed:
// the program prints only errors, and any line it prints is a failure
// (ffmpeg ends with status 0 when writing its file fails).
std::string run(const std::vector<std::string>& arguments, bool quietUnlessFailed) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int channel[2];
    if (pipe(channel) != 0) return arguments[0] + ": " + std::strerror(errno);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, channel[0]);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, channel[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, channel[1]);
    pid_t pid;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(channel[1]);
    std::string output;
    if (spawned == 0) {
        char buffer[4096];
        ssize_t got;
        while ((got = read(channel[0], buffer, sizeof buffer)) != 0) {
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) break;
            output.append(buffer, static_cast<std::size_t>(got));
        }
    }
    close(channel[0]);
    if (spawned != 0) return "cannot run " + arguments[0] + ": " + std::strerror(spawned);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return "lost " + arguments[0];
    const std::string said = lastLine(output);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && !(quietUnlessFailed && !said.empty())) return {};
    // ImageMagick starts its lines with its own name.
    if (said.rfind(arguments[0] + ":", 0) == 0) return said;
    if (!said.empty()) return arguments[0] + ": " + said;
    if (WIFSIGNALED(status)) return arguments[0] + " ended by signal " + std::to_string(WTERMSIG(status));
    return arguments[0] + " failed with status " + std::to_string(WEXITSTATUS(status));
}

// The program's words with the temporary file's name as the user's.
std::string withTargetName(std::string text, const PendingFile& file) {
    const auto nameOf = [](const std::string& path) { return path.substr(path.find_last_of('/') + 1); };
    const std::string temporary = nameOf(file.WritePath()), target = nameOf(file.Target());
    for (std::size_t at = text.find(temporary); at != std::string::npos; at = text.find(temporary, at + target.size()))
        text.replace(at, temporary.size(), target);
    return text;
}

// Lets the program write the pending file, then puts it in place.
std::string writeThrough(const std::string& path, const std::vector<std::string>& before,
                         const std::vector<std::string>& after, bool quietUnlessFailed) {
    PendingFile file(path);
    if (!file.Problem().empty()) return file.Problem();
    std::vector<std::string> arguments = before;
    arguments.insert(arguments.end(), after.begin(), after.end());
    arguments.push_back(file.WritePath());
    const std::string problem = run(arguments, quietUnlessFailed);
    return problem.empty() ? file.Commit() : file.Fail(withTargetName(problem, file));
}

}  // namespace

std::string FrameName(unsigned k) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%03u.png", k);
    return name;
}

bool IsFrameName(const std::string& name) {
    if (name.size() < 13 || name.compare(0, 6, "frame-") != 0 || name.compare(name.size() - 4, 4, ".png") != 0)
        return false;
    for (std::size_t i = 6; i + 4 < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

std::string FramePath(const std::string& directory, unsigned k) { return directory + "/" + FrameName(k); }

std::string WriteGif(const std::string& directory, unsigned count, unsigned framesPerSecond, const std::string& path) {
    std::vector<std::string> arguments{"convert", "-delay", "1x" + std::to_string(framesPerSecond), "-loop", "0"};
    for (unsigned k = 0; k < count; ++k) arguments.push_back(FramePath(directory, k));
    return writeThrough(path, arguments, {"-layers", "Optimize"}, false);
}

std::string WriteApng(const std::string& directory, unsigned count, unsigned framesPerSecond, const std::string& path) {
    return writeThrough(path,
                        {"ffmpeg", "-loglevel", "error", "-nostdin", "-y", "-framerate", std::to_string(framesPerSecond),
                         "-i", directory + "/frame-%03d.png", "-frames:v", std::to_string(count), "-plays", "0", "-f",
                         "apng"},
                        {}, true);
}
