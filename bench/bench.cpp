// logo3d-bench: times loading the three data files, compiling the glyph and
// logo lists, and drawing one frame, on the real GL. Needs an X display
// (bench/run provides a virtual one).

#include <GL/glut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "BenchScenes.h"
#include "app/Display.h"
#include "app/Globals.h"
#include "app/Startup.h"
#include "text/StrokeCharacter.h"

// Counts the program's own allocations, to show that drawing a frame makes
// none once the lists exist.
static unsigned long allocations = 0;
void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The best of several runs: the figure least disturbed by the rest of the machine.
template <typename Work>
double bestOf(int runs, Work work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        Clock::time_point start = Clock::now();
        work();
        glFinish();
        best = std::min(best, millisecondsSince(start));
    }
    return best;
}
}  // namespace

int main(int argc, char** argv) {
    const std::string data = argc > 1 ? argv[1] : "data";
    const bool longText = argc > 2 && std::string(argv[2]) == "long";
    const BenchScene scene = longText ? LongTextScene(data) : DefaultScene(data);

    Clock::time_point start = Clock::now();
    if (!LoadScene(data, scene)) return 1;
    const double loading = millisecondsSince(start);

    OpenViewerWindow(argv[0]);
    reshape(viewState.width, viewState.height);
    // Every glyph list and the logo and shadow lists, compiled afresh each time.
    const double compiling = bestOf(5, [] {
        for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next) {
            if (IsValidList(c->displayList)) glDeleteLists(static_cast<GLuint>(c->displayList), 1);
            c->displayList = -1;
        }
        logoString.Prepare(&font);
        logoString.EnsureLists();
    });

    renderView();  // the first frame settles the driver's caches
    const unsigned long allocationsBefore = allocations;
    const double drawing = bestOf(20, renderView);
    const double perFrame = static_cast<double>(allocations - allocationsBefore) / 20;
    std::printf("%s: load %.2f ms, compile %.1f ms, draw %.2f ms per frame (%dx%d, software GL), "
                "%.0f allocations per frame\n",
                scene.name.c_str(), loading, compiling, drawing, viewState.width, viewState.height, perFrame);
    return 0;
}
