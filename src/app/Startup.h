#pragma once

#include <ostream>

#include "app/ViewState.h"
#include "text/DataFileLoading.h"

// Loads font, environment and string file into the global records, in that
// order, stopping at the first failure.
bool LoadDataFiles(const ViewState& view, std::ostream& errors);

// Creates the window, sets up OpenGL and registers every callback; the main
// loop is all that remains after it.
void OpenViewerWindow(const char* programName);
// The same in two steps, for a caller that asks the toolkit about the screen
// before the window is made.
void StartToolkit(const char* programName);
void CreateViewerWindow();
