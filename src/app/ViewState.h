#pragma once

#include <string>

// Everything the window shows apart from the data: window size, view,
// interaction state and the data-file names. One global record for the run.
struct ViewState {
    int width = 400;
    int height = 400;
    float panX = 0.0f;
    float panY = 0.0f;
    float rotX = 0.0f;
    float rotY = 0.0f;
    float rotZ = 0.0f;
    float scale = 1.0f;
    float aaRadius = 0.45f;
    float jitterAngle = 0.4f;
    unsigned passes = 8;
    bool cullFaces = true;
    bool wireframe = false;
    bool aaMode = false;
    bool jitterMode = false;
    bool trailMode = false;
    float viewDepth = 0.0f;
    bool leftDown = false;
    bool middleDown = false;
    bool rightDown = false;
    int dragStartX = 0;
    int dragStartY = 0;
    float dragPanX = 0.0f;
    float dragPanY = 0.0f;
    float dragRotX = 0.0f;
    float dragRotY = 0.0f;
    float dragScale = 1.0f;
    std::string fontFile = "font.src";
    std::string envFile = "env.src";
    std::string stringFile = "string.src";
    // --help or -?: print the usage and end; --no-watch: do not reload the
    // data files when they change.
    bool helpRequested = false;
    bool watchFiles = true;
};
