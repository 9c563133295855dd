#pragma once

#include <ostream>

// Live editing: the running viewer reads its data files again when they are
// saved, and keeps showing the last good logo when a save does not load.

// Which of the three files to read again.
struct DataFileChanges {
    bool font = false;
    bool environment = false;
    bool string = false;
    bool Any() const { return font || environment || string; }
};

// Reads the named files again into fresh records. Only when every one of
// them reads (and the checker finds no error in a font) do they replace the
// global ones: the old font, logo and their display lists are freed, the
// logo is prepared against the font again, a new environment is applied to
// OpenGL with the projection through reshape, and a redraw is requested.
// The view and the display modes stay as they are. Otherwise nothing
// changes, the first error goes to messages as logo3d-check words it, and
// the result is false.
bool ReloadDataFiles(const DataFileChanges& changes, std::ostream& messages);

// Watches the three files of the view state from a GLUT timer, ten times
// a second, and reloads what changed (reports go to the standard error
// stream). Files that are not regular files, such as pipes, are not watched.
void StartWatchingDataFiles();
