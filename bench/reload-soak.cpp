// logo3d-reload-soak: reads the default logo's three data files again many
// times, as live editing does on every save, drawing a frame after each, and
// prints the resident memory and the number of display lists along the way:
// a reload that leaked a record or a list would show as growth. Needs an X
// display (bench/run provides a virtual one).
//
// Usage: logo3d-reload-soak DATA_DIRECTORY [RELOADS]

#include <GL/glut.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "ResidentMemory.h"
#include "app/Display.h"
#include "app/Globals.h"
#include "app/LiveReload.h"
#include "app/Startup.h"

namespace {

// Every list name that exists, up to well past any the run has used.
int displayLists() {
    int count = 0;
    for (GLuint name = 1; name < (1u << 18); ++name) count += glIsList(name) == GL_TRUE ? 1 : 0;
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string data = argc > 1 ? argv[1] : "data";
    const int reloads = argc > 2 ? std::atoi(argv[2]) : 1000;
    viewState.fontFile = data + "/font.src";
    viewState.envFile = data + "/env.src";
    viewState.stringFile = data + "/string.src";
    if (!LoadDataFiles(viewState, std::cerr)) return 1;
    OpenViewerWindow(argv[0]);
    reshape(viewState.width, viewState.height);
    const DataFileChanges all{true, true, true};
    // The first reloads settle the driver's and the allocator's caches.
    for (int i = 0; i < 10; ++i) {
        if (!ReloadDataFiles(all, std::cerr)) return 1;
        display();
    }
    glFinish();
    const double startMiB = ResidentMiB();
    const int startLists = displayLists();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 1; i <= reloads; ++i) {
        if (!ReloadDataFiles(all, std::cerr)) return 1;
        display();
        if (i % (reloads / 4 > 0 ? reloads / 4 : 1) == 0) {
            glFinish();
            std::printf("reload soak: %d reloads, resident memory %.2f MiB, %d display lists\n", i, ResidentMiB(),
                        displayLists());
        }
    }
    glFinish();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double endMiB = ResidentMiB();
    const int endLists = displayLists();
    std::printf("reload soak: %d reloads of all three files in %.1f s (%.1f ms each, with a frame); resident memory "
                "%.2f MiB before, %.2f MiB after (%+.0f KiB); display lists %d before, %d after\n",
                reloads, seconds, 1000.0 * seconds / reloads, startMiB, endMiB, (endMiB - startMiB) * 1024.0,
                startLists, endLists);
    return endLists == startLists ? 0 : 1;
}
