#include <GL/glut.h>

#include <iostream>

#include "app/CommandLine.h"
#include "app/Globals.h"
#include "app/LiveReload.h"
#include "app/Startup.h"
#include "app/Usage.h"
#include "scene/GuardedMain.h"

int main(int argc, char** argv) {
    return RunGuarded("logo3d", [&] {
        for (const std::string& note : ScanCommandLine(argc, argv, viewState)) std::cerr << note << std::endl;
        if (viewState.helpRequested) {
            PrintUsage(std::cout);
            return 0;
        }
        if (!LoadDataFiles(viewState, std::cerr)) return 1;
        OpenViewerWindow(argc > 0 ? argv[0] : nullptr);
        if (viewState.watchFiles) StartWatchingDataFiles();
        glutMainLoop();
        return 0;
    });
}
