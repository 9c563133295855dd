// logo3d-bench-count: compiles a scene's display lists into the capture
// layer with its call log on and reports how many vertices and normals they
// hold.

#include <iostream>
#include <string>

#include "BenchScenes.h"
#include "app/Globals.h"
#include "capture/CallLog.h"

int main(int argc, char** argv) {
    const std::string data = argc > 1 ? argv[1] : "data";
    const BenchScene scene = SceneOfArguments(data, argc, argv);
    if (!LoadScene(data, scene)) return 1;
    capture::RecordCalls(true);
    logoString.Prepare(&font);
    logoString.EnsureLists();
    long vertices = 0, normals = 0, lists = 0, spheres = 0;
    for (const capture::Call& call : capture::CallLog()) {
        if (call.name == "glNewList") ++lists;
        if (call.compiling == 0) continue;
        if (call.name == "glVertex3f") ++vertices;
        if (call.name == "glNormal3f") ++normals;
        if (call.name == "glutSolidSphere") ++spheres;
    }
    std::cout << scene.name << ": " << lists << " lists, " << vertices << " vertices, " << normals << " normals, "
              << spheres << " spheres" << std::endl;
    return 0;
}
