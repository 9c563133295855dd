#include "Animation.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
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
    // An empty name is found everywhere: nothing to replace.
    if (temporary.empty()) return text;
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

// Starts a program found on PATH with the given arguments; no shell, so no
// name needs quoting. input >= 0 becomes its standard input, errors >= 0
// its standard error.
std::string spawn(const std::vector<std::string>& arguments, int input, int errors, pid_t& pid) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, 0);
    if (errors >= 0) posix_spawn_file_actions_adddup2(&actions, errors, 2);
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return "cannot run " + arguments[0] + ": " + std::strerror(spawned);
    return {};
}

std::string wait(pid_t pid, const std::string& program) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return "lost " + program;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return program + " failed";
    return {};
}

std::vector<std::string> ffmpeg(std::initializer_list<std::string> rest) {
    std::vector<std::string> arguments{"ffmpeg", "-loglevel", "error", "-nostdin", "-y"};
    arguments.insert(arguments.end(), rest);
    return arguments;
}

bool endsWith(const std::string& text, const std::string& end) {
    if (text.size() < end.size()) return false;
    for (std::size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i]) return false;
    return true;
}

// Sets the delay of every frame of a GIF file (in its graphic control
// extensions) to delays[k], walking the file's blocks. False when the file
// is not a GIF as ffmpeg writes one or holds another number of frames.
bool setGifDelays(std::string& gif, const std::vector<unsigned>& delays) {
    std::size_t at = 13, frame = 0;
    if (gif.size() < at || gif.compare(0, 3, "GIF") != 0) return false;
    const auto byte = [&gif](std::size_t i) { return i < gif.size() ? static_cast<unsigned char>(gif[i]) : 0u; };
    const auto tableBytes = [](unsigned flags) { return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0u; };
    const auto skipSubBlocks = [&](std::size_t i) {
        while (i < gif.size() && byte(i) != 0) i += byte(i) + 1u;
        return i + 1;
    };
    at += tableBytes(byte(10));
    while (at < gif.size()) {
        const unsigned kind = byte(at);
        if (kind == 0x3B) break;
        if (kind == 0x21) {
            if (byte(at + 1) == 0xF9 && byte(at + 2) == 4) {
                if (frame >= delays.size()) return false;
                gif[at + 4] = static_cast<char>(delays[frame] & 0xFF);
                gif[at + 5] = static_cast<char>(delays[frame] >> 8);
                ++frame;
            }
            at = skipSubBlocks(at + 2);
        } else if (kind == 0x2C) {
            at = skipSubBlocks(at + 10 + tableBytes(byte(at + 9)) + 1);
        } else {
            return false;
        }
    }
    return frame == delays.size();
}

}  // namespace

std::vector<unsigned> GifDelays(unsigned count, unsigned framesPerSecond) {
    std::vector<unsigned> delays;
    const auto hundredths = [framesPerSecond](unsigned k) { return (200u * k / framesPerSecond + 1u) / 2u; };
    for (unsigned k = 0; k < count; ++k) delays.push_back(hundredths(k + 1) - hundredths(k));
    return delays;
}

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
    const std::string rate = std::to_string(framesPerSecond), frames = directory + "/frame-%03d.png",
                      palette = directory + "/palette.png", n = std::to_string(count);
    std::string problem = run(ffmpeg({"-framerate", rate, "-i", frames, "-frames:v", n, "-vf", "palettegen", palette}), true);
    if (!problem.empty()) return CannotWrite(path, problem);
    PendingFile file(path);
    if (!file.Problem().empty()) return file.Problem();
    problem = run(ffmpeg({"-framerate", rate, "-i", frames, "-i", palette, "-frames:v", n, "-lavfi", "paletteuse",
                          "-loop", "0", "-f", "gif", file.WritePath()}), true);
    std::remove(palette.c_str());
    if (!problem.empty()) return file.Fail(withTargetName(problem, file));
    // ffmpeg guesses the last frame's delay; every delay is set here from the rate.
    std::string bytes;
    {
        std::ifstream in(file.WritePath(), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (!setGifDelays(bytes, GifDelays(count, framesPerSecond))) return file.Fail("ffmpeg wrote an unexpected GIF");
    std::ofstream out(file.WritePath(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return file.Fail("the delays could not be set");
    return file.Commit();
}

std::string WriteApng(const std::string& directory, unsigned count, unsigned framesPerSecond, const std::string& path) {
    return writeThrough(path,
                        {"ffmpeg", "-loglevel", "error", "-nostdin", "-y", "-framerate", std::to_string(framesPerSecond),
                         "-i", directory + "/frame-%03d.png", "-frames:v", std::to_string(count), "-plays", "0", "-f",
                         "apng"},
                        {}, true);
}

VideoWriter::VideoWriter(const std::string& path, int width, int height, unsigned framesPerSecond)
    : file_(std::make_unique<PendingFile>(path)) {
    problem_ = file_->Problem();
    if (!problem_.empty()) return;
    // A closed pipe must come back as an error from write, not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        problem_ = "cannot make a pipe to ffmpeg: " + std::string(std::strerror(errno));
        return;
    }
    const bool webm = endsWith(path, ".webm");
    std::vector<std::string> arguments =
        ffmpeg({"-f", "rawvideo", "-pix_fmt", "rgb24", "-s", std::to_string(width) + "x" + std::to_string(height),
                "-framerate", std::to_string(framesPerSecond), "-i", "pipe:0", "-vf",
                "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-pix_fmt", "yuv420p"});
    if (webm) arguments.insert(arguments.end(), {"-c:v", "libvpx-vp9", "-crf", "30", "-b:v", "0", "-f", "webm"});
    else arguments.insert(arguments.end(), {"-c:v", "libx264", "-crf", "18", "-movflags", "+faststart", "-f", "mp4"});
    arguments.push_back(file_->WritePath());
    // -nostdin stops ffmpeg reading keys from its standard input; the pipe is its input file.
    pid_t pid;
    // ffmpeg may end with status 0 when it could not write: what it says counts.
    char errorsName[] = "/tmp/logo3d-ffmpeg-XXXXXX";
    errors_ = mkostemp(errorsName, O_CLOEXEC);
    if (errors_ >= 0) unlink(errorsName);
    problem_ = spawn(arguments, pipeEnds[0], errors_, pid);
    close(pipeEnds[0]);
    if (!problem_.empty()) {
        close(pipeEnds[1]);
        return;
    }
    pid_ = pid;
    input_ = pipeEnds[1];
}

VideoWriter::~VideoWriter() { Finish(); }

bool VideoWriter::Add(const std::vector<unsigned char>& rgb) {
    if (input_ < 0) return false;
    std::size_t written = 0;
    while (written < rgb.size()) {
        const ssize_t n = write(input_, rgb.data() + written, rgb.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            problem_ = "ffmpeg stopped taking frames";
            close(input_);
            input_ = -1;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

std::string VideoWriter::Finish() {
    if (input_ >= 0) close(input_);
    input_ = -1;
    if (pid_ > 0) {
        const std::string ended = wait(pid_, "ffmpeg");
        if (problem_.empty()) problem_ = ended;
        pid_ = -1;
    }
    if (errors_ >= 0) {
        std::string said(4096, '\0');
        const ssize_t n = pread(errors_, &said[0], said.size(), 0);
        said.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        while (!said.empty() && std::isspace(static_cast<unsigned char>(said.back()))) said.pop_back();
        const std::size_t lastLine = said.find_last_of('\n');
        // Its own words say more than a closed pipe.
        if (!said.empty())
            problem_ = "ffmpeg: " + (lastLine == std::string::npos ? said : said.substr(lastLine + 1));
        close(errors_);
        errors_ = -1;
    }
    if (!file_) return problem_;
    if (!file_->Problem().empty()) {
        problem_ = file_->Problem();
        file_.reset();
        return problem_;
    }
    const std::string done = problem_.empty() ? file_->Commit() : file_->Fail(withTargetName(problem_, *file_));
    file_.reset();
    problem_ = done;
    return done;
}

float MotionTimeOf(unsigned k, unsigned count) {
    return count > 1 ? static_cast<float>(k) / static_cast<float>(count - 1) : 0.0f;
}
