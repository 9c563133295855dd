// logo3d-soak: draws the default logo for many frames, plain and with every
// accumulation mode on, and prints the resident memory before and after, so
// that a leak per frame (in the program or in how it drives GL) shows as
// growth. Needs an X display (bench/run provides a virtual one).
//
// Usage: logo3d-soak DATA_DIRECTORY [PLAIN_FRAMES [ACCUMULATED_FRAMES]]

#include <GL/glut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchScenes.h"
#include "ResidentMemory.h"
#include "app/AccumDisplay.h"
#include "app/Display.h"
#include "app/Globals.h"
#include "app/Startup.h"

namespace {

double secondsOf(void (*frame)(), int count) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) frame();
    glFinish();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void report(const char* what, int frames, double seconds, double before, double after) {
    std::printf("soak, %s: %d frames in %.1f s; resident memory %.2f MiB before, %.2f MiB after (%+.0f KiB)\n",
                what, frames, seconds, before, after, (after - before) * 1024.0);
}

}  // namespace

struct Mode {
    const char* name;
    bool antialiasing, jitter, trail;
};

void setMode(const Mode& mode) {
    viewState.aaMode = mode.antialiasing;
    viewState.jitterMode = mode.jitter;
    viewState.trailMode = mode.trail;
}

int main(int argc, char** argv) {
    const std::string data = argc > 1 ? argv[1] : "data";
    const int plainFrames = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int accumulatedFrames = argc > 3 ? std::atoi(argv[3]) : 500;
    if (!LoadScene(data, SceneNamed(data, "default"))) return 1;
    OpenViewerWindow(argv[0]);
    reshape(viewState.width, viewState.height);
    const Mode modes[] = {{"plain", false, false, false},
                          {"antialiasing", true, false, false},
                          {"jitter", false, true, false},
                          {"trail", false, false, true}};
    // The first frames compile the lists and settle the driver's caches.
    for (const Mode& mode : modes) {
        setMode(mode);
        secondsOf(mode.antialiasing || mode.jitter || mode.trail ? accumDisplay : display, 2);
    }

    const double start = ResidentMiB();
    double before = start;
    for (const Mode& mode : modes) {
        setMode(mode);
        const bool accumulated = mode.antialiasing || mode.jitter || mode.trail;
        const int frames = accumulated ? accumulatedFrames : plainFrames;
        const double seconds = secondsOf(accumulated ? accumDisplay : display, frames);
        const double after = ResidentMiB();
        report(mode.name, frames, seconds, before, after);
        before = after;
    }
    std::printf("soak, whole run: resident memory %.2f MiB at the start, %.2f MiB at the end (%+.0f KiB)\n", start,
                before, (before - start) * 1024.0);
    return 0;
}
