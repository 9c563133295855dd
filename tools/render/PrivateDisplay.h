#pragma once

// An X display for the render tool wherever it runs: the one DISPLAY names
// when it opens, else a private Xvfb server that the tool starts, draws on
// and stops when it ends (at exit, on SIGINT, SIGTERM and SIGHUP, and, when
// the tool dies any other way, through the server's parent-death signal).

#include <string>

// Empty when DISPLAY now names a display that opens; else the one line to
// show. A private server's screen is at least width x height, so that the
// window fits on it as on a real screen.
std::string ProvideDisplay(int width, int height);

// Stops the private server, if one runs, and waits until it has ended.
void StopPrivateDisplay();
