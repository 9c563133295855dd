#include "X11Harness.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

void pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

Clock::time_point deadline(double seconds) {
    return Clock::now() + std::chrono::microseconds(static_cast<long long>(seconds * 1e6));
}

// Xlib's default handler ends the process; a test should fail instead.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

// The child must not outlive the test process, however that ends.
void dieWithParent() { prctl(PR_SET_PDEATHSIG, SIGKILL); }

void stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        pause(20);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Reads the display number Xvfb writes once it accepts connections.
std::string readDisplayNumber(int fd, double seconds) {
    std::string text;
    const auto end = deadline(seconds);
    while (Clock::now() < end && text.find('\n') == std::string::npos) {
        pollfd waiting{fd, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0) continue;
        char buffer[32];
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) break;
        text.append(buffer, static_cast<std::size_t>(count));
    }
    const std::size_t endOfLine = text.find('\n');
    return endOfLine == std::string::npos ? std::string() : text.substr(0, endOfLine);
}

std::vector<char*> argumentVector(std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    return argv;
}

void collectWindows(Display* display, Window parent, std::vector<Window>& out) {
    Window root = 0, parentOfParent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &parentOfParent, &children, &count) == 0) return;
    for (unsigned i = 0; i < count; ++i) {
        out.push_back(children[i]);
        collectWindows(display, children[i], out);
    }
    if (children != nullptr) XFree(children);
}

std::string windowName(Display* display, Window window) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) return std::string();
    std::string result(name);
    XFree(name);
    return result;
}

bool viewable(Display* display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

int channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    const unsigned long value = (pixel & mask) >> shift;
    const unsigned long largest = mask >> shift;
    return static_cast<int>((value * 255 + largest / 2) / largest);
}

double shareOf(const Image& image, const Rgb& colour) {
    if (image.pixels.empty()) return 0.0;
    std::size_t count = 0;
    for (const Rgb& pixel : image.pixels) count += Near(pixel, colour, 3) ? 1 : 0;
    return static_cast<double>(count) / static_cast<double>(image.pixels.size());
}

bool samePicture(const Image& a, const Image& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return false;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        if (!Near(a.pixels[i], b.pixels[i], 0)) return false;
    return true;
}

// Serves the requests a window manager would on a display that places
// windows: moving a window onto the screen after it was mapped would show
// undrawn content until the viewer redraws, so it is mapped in place.
void serveWindowRequests(Display* display) {
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapRequest) {
            XMoveWindow(display, event.xmaprequest.window, 0, 0);
            XMapWindow(display, event.xmaprequest.window);
        } else if (event.type == ConfigureRequest) {
            const XConfigureRequestEvent& request = event.xconfigurerequest;
            XWindowChanges changes{};
            changes.width = request.width;
            changes.height = request.height;
            changes.border_width = request.border_width;
            XConfigureWindow(display, request.window, request.value_mask & (CWWidth | CWHeight | CWBorderWidth),
                             &changes);
        }
    }
    XFlush(display);
}

// Waits a little while serving the window requests of the viewer.
void serveAndPause(Display* display, int milliseconds) {
    serveWindowRequests(display);
    pause(milliseconds);
    serveWindowRequests(display);
}

}  // namespace

// ---- TemporaryDirectory ----

TemporaryDirectory::TemporaryDirectory(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) != nullptr) path = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

// Programs the tests start by a shell command (the render tool) find an empty
// shader cache too, as on a machine that has never run them.
const struct ColdShaderCache {
    ColdShaderCache() {
        if (!directory.Path().empty()) setenv("MESA_SHADER_CACHE_DIR", directory.Path().c_str(), 1);
    }
    TemporaryDirectory directory{"logo3d-shader-cache"};
} coldShaderCache;

// ---- VirtualDisplay ----

VirtualDisplay::VirtualDisplay(int width, int height, bool placesWindows) {
    XSetErrorHandler(ignoreXError);
    int channelFds[2];
    if (pipe(channelFds) != 0) return;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    std::vector<std::string> words = {"Xvfb", "-displayfd", std::to_string(channelFds[1]), "-screen", "0",
                                      screen, "-nolisten", "tcp", "-noreset"};
    pid = fork();
    if (pid == 0) {
        dieWithParent();
        close(channelFds[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        std::vector<char*> argv = argumentVector(words);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(channelFds[1]);
    const std::string number = pid > 0 ? readDisplayNumber(channelFds[0], 15.0) : std::string();
    close(channelFds[0]);
    if (number.empty()) return;
    name = ":" + number;
    display = XOpenDisplay(name.c_str());
    if (display == nullptr || !placesWindows) return;
    XSelectInput(display, DefaultRootWindow(display), SubstructureRedirectMask);
    XSync(display, False);
}

VirtualDisplay::~VirtualDisplay() {
    if (display != nullptr) XCloseDisplay(display);
    stop(pid);
}

// ---- ViewerProcess ----

ViewerProcess::ViewerProcess(const VirtualDisplay& virtualDisplay, const ViewerOptions& options) {
    std::string pathTemplate = (std::filesystem::temp_directory_path() / "logo3d-stderr-XXXXXX").string();
    const int errorFd = mkstemp(pathTemplate.data());
    if (errorFd < 0) return;
    stderrPath = pathTemplate;
    std::vector<std::string> words = {LOGO3D_BINARY};
    words.insert(words.end(), options.arguments.begin(), options.arguments.end());
    pid = fork();
    if (pid == 0) {
        dieWithParent();
        dup2(errorFd, STDERR_FILENO);
        if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0) _exit(126);
        setenv("DISPLAY", virtualDisplay.Name().c_str(), 1);
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
        if (!shaderCache.Path().empty()) setenv("MESA_SHADER_CACHE_DIR", shaderCache.Path().c_str(), 1);
        if (options.linearFramebuffer)
            setenv("MESA_EXTENSION_OVERRIDE", "-GL_EXT_framebuffer_sRGB -GL_ARB_framebuffer_sRGB", 1);
        std::vector<char*> argv = argumentVector(words);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(errorFd);
}

ViewerProcess::~ViewerProcess() {
    Kill();
    if (!stderrPath.empty()) unlink(stderrPath.c_str());
}

bool ViewerProcess::Reap(int options) {
    if (finished || pid <= 0) return finished;
    if (waitpid(pid, &waitStatus, options) == pid) finished = true;
    return finished;
}

bool ViewerProcess::Running() { return pid > 0 && !Reap(WNOHANG); }

std::optional<int> ViewerProcess::WaitForExit(double seconds) {
    const auto end = deadline(seconds);
    while (!Reap(WNOHANG) && Clock::now() < end) pause(20);
    if (!finished || !WIFEXITED(waitStatus)) return std::nullopt;
    return WEXITSTATUS(waitStatus);
}

std::string ViewerProcess::Stderr() const {
    std::ifstream in(stderrPath);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ViewerProcess::Kill() {
    if (pid <= 0 || finished) return;
    kill(pid, SIGKILL);
    Reap(0);
}

// ---- colours ----

bool Near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

Rgb FromUnit(float red, float green, float blue) {
    auto level = [](float v) { return static_cast<int>(v * 255.0f + 0.5f); };
    return Rgb{level(red), level(green), level(blue)};
}

// ---- ViewerWindow ----

std::optional<ViewerWindow> ViewerWindow::Find(const VirtualDisplay& virtualDisplay, ViewerProcess& viewer,
                                               const std::string& title, double seconds) {
    Display* display = virtualDisplay.X();
    if (display == nullptr) return std::nullopt;
    const auto end = deadline(seconds);
    while (Clock::now() < end && viewer.Running()) {
        std::vector<Window> windows;
        collectWindows(display, DefaultRootWindow(display), windows);
        for (Window window : windows) {
            if (windowName(display, window) == title && viewable(display, window)) return ViewerWindow(display, window);
        }
        serveAndPause(display, 50);
    }
    return std::nullopt;
}

std::string ViewerWindow::Title() const { return windowName(display, window); }

void ViewerWindow::Size(int& width, int& height) const {
    XWindowAttributes attributes;
    width = height = 0;
    if (XGetWindowAttributes(display, window, &attributes) == 0) return;
    width = attributes.width;
    height = attributes.height;
}

bool ViewerWindow::WaitForSize(int width, int height, double seconds) const {
    const auto end = deadline(seconds);
    do {
        int w = 0, h = 0;
        Size(w, h);
        if (w == width && h == height) return true;
        serveAndPause(display, 50);
    } while (Clock::now() < end);
    return false;
}

Image ViewerWindow::Capture() const {
    Image image;
    int width = 0, height = 0;
    Size(width, height);
    if (width <= 0 || height <= 0) return image;
    XImage* shot = XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                             AllPlanes, ZPixmap);
    if (shot == nullptr) return image;
    image.width = width;
    image.height = height;
    image.pixels.reserve(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(shot, x, y);
            image.pixels.push_back(Rgb{channel(pixel, shot->red_mask), channel(pixel, shot->green_mask),
                                       channel(pixel, shot->blue_mask)});
        }
    }
    XDestroyImage(shot);
    return image;
}

Image ViewerWindow::CaptureWhen(const std::function<bool(const Image&)>& test, double seconds) const {
    const auto end = deadline(seconds);
    Image image = Capture();
    while (!test(image) && Clock::now() < end) {
        serveAndPause(display, 50);
        image = Capture();
    }
    return image;
}

Image ViewerWindow::CaptureDrawnFrame(const Rgb& clear, double seconds) const {
    const auto end = deadline(seconds);
    Image previous;
    for (;;) {
        Image shot = Capture();
        const bool drawn = shareOf(shot, clear) > 0.5;
        if ((drawn && samePicture(shot, previous)) || Clock::now() >= end) return shot;
        previous = drawn ? std::move(shot) : Image{};
        serveAndPause(display, 50);
    }
}

void ViewerWindow::Focus() const {
    // Focus would otherwise follow the pointer, which may be anywhere.
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) != 0)
        MovePointer(attributes.width / 2, attributes.height / 2);
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
}

void ViewerWindow::MovePointer(int x, int y) const {
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    XSync(display, False);
}

void ViewerWindow::PressKey(unsigned long keysym, bool shift) const {
    Focus();
    const KeyCode shiftCode = XKeysymToKeycode(display, XK_Shift_L);
    const KeyCode code = XKeysymToKeycode(display, keysym);
    if (shift) XTestFakeKeyEvent(display, shiftCode, True, CurrentTime);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    if (shift) XTestFakeKeyEvent(display, shiftCode, False, CurrentTime);
    XSync(display, False);
}

void ViewerWindow::Type(char character) const {
    const bool upper = character >= 'A' && character <= 'Z';
    const char lower = upper ? static_cast<char>(character - 'A' + 'a') : character;
    const char text[2] = {lower, '\0'};
    KeySym keysym = XStringToKeysym(text);
    if (character == ' ') keysym = XK_space;
    PressKey(keysym, upper);
}

void ViewerWindow::Drag(unsigned button, int fromX, int fromY, int toX, int toY, int steps) const {
    if (steps < 1) steps = 1;
    MovePointer(fromX, fromY);
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XSync(display, False);
    for (int step = 1; step <= steps; ++step) {
        MovePointer(fromX + (toX - fromX) * step / steps, fromY + (toY - fromY) * step / steps);
        serveAndPause(display, 10);
    }
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XSync(display, False);
    serveAndPause(display, 50);
}

}  // namespace e2e
