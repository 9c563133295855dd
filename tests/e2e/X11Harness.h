#pragma once

// Runs the real viewer on a private X server and drives it like a person
// would: find its window, read its pixels, type keys and drag the mouse.

#include <X11/Xlib.h>
#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// A fresh directory under the system's temporary folder, removed with
// everything in it when the object goes.
class TemporaryDirectory {
public:
    explicit TemporaryDirectory(const std::string& prefix = "logo3d-e2e");
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    const std::string& Path() const { return path; }  // empty when none could be made

private:
    std::string path;
};

// A virtual X server (Xvfb) on a free display number, gone with the object.
// One that places windows stands in for a window manager: it maps each new
// top-level window at the screen's corner, so all of it can be read back
// from its first frame on, and grants size requests. Its windows appear only
// while the test waits through ViewerWindow; a test that runs a program to
// its end by itself uses one that does not place windows.
class VirtualDisplay {
public:
    explicit VirtualDisplay(int width = 1024, int height = 768, bool placesWindows = false);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool Started() const { return display != nullptr; }
    const std::string& Name() const { return name; }  // such as ":3"
    Display* X() const { return display; }

private:
    pid_t pid = -1;
    std::string name;
    Display* display = nullptr;
};

struct ViewerOptions {
    std::string workingDirectory;
    std::vector<std::string> arguments;
    // Mesa may hand out sRGB window buffers, and glAccum then averages in
    // linear light; tests of accumulated colours switch those formats off.
    bool linearFramebuffer = false;
};

// The logo3d binary started on a virtual display with software GL and an
// empty shader cache of its own, as on a machine that has never run it. Its
// standard error stream goes to a file that Stderr reads back.
class ViewerProcess {
public:
    ViewerProcess(const VirtualDisplay& display, const ViewerOptions& options);
    ~ViewerProcess();
    ViewerProcess(const ViewerProcess&) = delete;
    ViewerProcess& operator=(const ViewerProcess&) = delete;

    bool Running();
    // The exit status, or nothing when the process is still running after
    // the given time or was ended by a signal.
    std::optional<int> WaitForExit(double seconds);
    std::string Stderr() const;
    void Kill();

private:
    bool Reap(int options);
    pid_t pid = -1;
    TemporaryDirectory shaderCache{"logo3d-shader-cache"};
    std::string stderrPath;
    bool finished = false;
    int waitStatus = 0;
};

struct Rgb {
    int red = 0, green = 0, blue = 0;
};

struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;  // rows from the top
    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// True when every channel differs by at most tolerance (software GL rounds
// 0.3 to 76 where 77 would be expected).
bool Near(const Rgb& a, const Rgb& b, int tolerance = 2);
// The colour an OpenGL component triple in 0..1 shows as on a 24-bit screen.
Rgb FromUnit(float red, float green, float blue);

// A top-level window of the viewer, moved to the screen's corner so all of
// it can be read back.
class ViewerWindow {
public:
    // Waits for a window with this exact title to be shown; gives up after
    // the time, or as soon as the viewer has gone.
    static std::optional<ViewerWindow> Find(const VirtualDisplay& display, ViewerProcess& viewer,
                                            const std::string& title, double seconds = 10.0);

    Window Id() const { return window; }
    std::string Title() const;
    void Size(int& width, int& height) const;
    bool WaitForSize(int width, int height, double seconds = 5.0) const;
    Image Capture() const;
    // Captures until the picture satisfies the test or the time is up, and
    // returns the last capture.
    Image CaptureWhen(const std::function<bool(const Image&)>& test, double seconds = 5.0) const;
    // The first frame the viewer has really drawn: the clear colour covers
    // most of the window (a mapped but undrawn window shows other content),
    // and two captures in a row agree. A cold start compiles its shaders
    // first, so this may take seconds.
    Image CaptureDrawnFrame(const Rgb& clear, double seconds = 30.0) const;

    // A character as typed, with Shift for upper-case letters.
    void Type(char character) const;
    void PressKey(unsigned long keysym, bool shift = false) const;
    // Presses a mouse button (1 left, 2 middle, 3 right) at a window point,
    // moves to another in even steps and releases it there.
    void Drag(unsigned button, int fromX, int fromY, int toX, int toY, int steps = 20) const;

private:
    ViewerWindow(Display* display, Window window) : display(display), window(window) {}
    void Focus() const;
    void MovePointer(int x, int y) const;
    Display* display;
    Window window;
};

}  // namespace e2e
