// logo3d-bench: times loading the three data files, compiling the glyph and
// logo lists, and drawing a frame (plain, antialiased, in the trail mode), on
// the real GL. Given the triangles of logo3d-bench-capture, it also times the
// floor: the same triangles drawn by the same GL from one vertex array, and
// compiled into one list from it. Needs an X display (bench/run provides a
// virtual one).
// Usage: logo3d-bench DATA_DIRECTORY [SCENE [TRIANGLES_FILE]]

#include <GL/glut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "BenchScenes.h"
#include "FloorGeometry.h"
#include "app/AccumDisplay.h"
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

namespace {

// One list that draws the floor's triangles group by group, each group with
// its material, from client arrays: indexed (glDrawElements) or with every
// triangle's vertices in turn (glDrawArrays).
GLuint compileFloor(const FloorGeometry& floor, const std::vector<FloorVertex>& unshared, bool indexed) {
    const FloorVertex* base = indexed ? floor.vertices.data() : unshared.data();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(FloorVertex), base->position);
    glNormalPointer(GL_FLOAT, sizeof(FloorVertex), base->normal);
    glColorPointer(4, GL_FLOAT, sizeof(FloorVertex), base->colour);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    for (const FloorGroup& group : floor.groups) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, group.ambient);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, group.diffuse);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, group.specular);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, group.emission);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, group.shininess);
        if (group.colourMaterial != 0) {
            glColorMaterial(GL_FRONT, group.colourMaterialMode);
            glEnable(GL_COLOR_MATERIAL);
        } else {
            glDisable(GL_COLOR_MATERIAL);
        }
        if (indexed)
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(group.indexCount), GL_UNSIGNED_INT,
                           floor.indices.data() + group.firstIndex);
        else
            glDrawArrays(GL_TRIANGLES, static_cast<GLint>(group.firstIndex), static_cast<GLsizei>(group.indexCount));
    }
    glEndList();
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    return list;
}

// A plain frame as the viewer draws it, with the floor's list in place of the logo.
void drawFloorFrame(GLuint list) {
    renderViewOf([list] { glCallList(list); });
}

std::vector<unsigned char> pictureOfFrame() {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(viewState.width) * viewState.height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, viewState.width, viewState.height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// How many pixels of the floor's frame differ from the viewer's own by more
// than 32 levels: the floor must draw the same picture to be a fair measure.
double differingShare(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    std::size_t differing = 0;
    for (std::size_t i = 0; i + 2 < a.size(); i += 3)
        for (std::size_t k = 0; k < 3; ++k)
            if (std::abs(a[i + k] - b[i + k]) > 32) {
                ++differing;
                break;
            }
    return static_cast<double>(differing) / static_cast<double>(a.size() / 3);
}

// Compiles our lists afresh: every glyph list and the logo and shadow lists.
void compileOurs() {
    for (StrokeCharacter* c = font.firstCharacter; c != nullptr; c = c->next) {
        if (IsValidList(c->displayList)) glDeleteLists(static_cast<GLuint>(c->displayList), 1);
        c->displayList = -1;
    }
    logoString.Prepare(&font);
    logoString.EnsureLists();
}

// One way of drawing the logo: ours, or a floor with its list.
struct Contender {
    std::function<void()> compile, frame;
    double compileTime = 1e300, frameTime = 1e300;
};

// The best time of each, taken in turn round after round, so that every
// contender meets the machine in the same state: software GL's timings
// drift by a third from one second to the next.
void timeInTurn(std::vector<Contender*> contenders, int compileRounds, int frameRounds) {
    for (int round = 0; round < compileRounds; ++round)
        for (Contender* c : contenders) c->compileTime = std::min(c->compileTime, bestOf(1, c->compile));
    for (Contender* c : contenders) c->frame();  // the first frame settles the driver's caches
    for (int round = 0; round < frameRounds; ++round)
        for (Contender* c : contenders) c->frameTime = std::min(c->frameTime, bestOf(1, c->frame));
}

Contender floorContender(const FloorGeometry& floor, const std::vector<FloorVertex>& unshared, bool indexed,
                         GLuint& list) {
    Contender floorWay;
    floorWay.compile = [&floor, &unshared, indexed, &list] {
        if (list != 0) glDeleteLists(list, 1);
        list = compileFloor(floor, unshared, indexed);
    };
    floorWay.frame = [&list] { drawFloorFrame(list); };
    return floorWay;
}

double accumulatedFrame(bool ViewState::*mode) {
    viewState.*mode = true;
    accumulateView();
    const double time = bestOf(5, accumulateView);
    viewState.*mode = false;
    return time;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string data = argc > 1 ? argv[1] : "data";
    const BenchScene scene = SceneOfArguments(data, argc, argv);

    Clock::time_point start = Clock::now();
    if (!LoadScene(data, scene)) return 1;
    const double loading = millisecondsSince(start);

    OpenViewerWindow(argv[0]);
    reshape(viewState.width, viewState.height);
    FloorGeometry floor;
    const bool withFloor = argc > 3 && ReadFloorGeometry(floor, argv[3]);
    const std::vector<FloorVertex> unshared = withFloor ? floor.Unshared() : std::vector<FloorVertex>();
    GLuint arrayList = 0, elementList = 0;
    Contender ours{compileOurs, renderView};
    Contender arrays = floorContender(floor, unshared, false, arrayList);
    Contender elements = floorContender(floor, unshared, true, elementList);
    std::vector<Contender*> contenders = {&ours};
    if (withFloor) contenders.insert(contenders.end(), {&arrays, &elements});
    timeInTurn(contenders, 5, 30);

    const unsigned long allocationsBefore = allocations;
    renderView();
    const unsigned long perFrame = allocations - allocationsBefore;
    const double antialiased = accumulatedFrame(&ViewState::aaMode);
    const double trail = accumulatedFrame(&ViewState::trailMode);
    std::printf("%s: load %.2f ms, compile %.1f ms, frame %.2f ms (%dx%d, software GL), antialiased (%u passes) "
                "%.1f ms, trail (%u frames) %.1f ms, %lu allocations per frame\n",
                scene.name.c_str(), loading, ours.compileTime, ours.frameTime, viewState.width, viewState.height,
                viewState.passes, antialiased, logoString.frameCount, trail, perFrame);
    if (scene.characters > 0)
        std::printf("  per character: compile %.3f ms, frame %.3f ms\n", ours.compileTime / scene.characters,
                    ours.frameTime / scene.characters);
    if (!withFloor) return 0;

    renderView();
    const std::vector<unsigned char> picture = pictureOfFrame();
    drawFloorFrame(arrayList);
    const double arraysDiffer = differingShare(pictureOfFrame(), picture);
    drawFloorFrame(elementList);
    const double elementsDiffer = differingShare(pictureOfFrame(), picture);
    std::printf("  floor, the same %zu triangles from one vertex array: glDrawArrays compile %.1f ms, frame %.2f ms; "
                "glDrawElements (%zu shared vertices) compile %.1f ms, frame %.2f ms\n",
                floor.TriangleCount(), arrays.compileTime, arrays.frameTime, floor.vertices.size(),
                elements.compileTime, elements.frameTime);
    std::printf("  ours / the faster floor: compile %.2f, frame %.2f (the floor's picture differs from ours in %.2f%% "
                "of the pixels)\n",
                ours.compileTime / std::min(arrays.compileTime, elements.compileTime),
                ours.frameTime / std::min(arrays.frameTime, elements.frameTime),
                100 * std::max(arraysDiffer, elementsDiffer));
    return 0;
}
