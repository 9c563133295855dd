#pragma once

// An optional log of the GL and GLUT calls as the program makes them, for
// what the triangles and the state cannot show: the order of the frame's
// steps, the calls that change nothing (glClear, glAccum, glFlush), and how
// often something was set. Off until asked for, so that a capture that does
// not read it pays one test per call.

#include <string>
#include <vector>

namespace capture {

struct Call {
    std::string name;          // the entry point, e.g. "glTranslatef"
    std::vector<double> args;  // its numbers and enums in order, arrays spread out
    const void* pointer = nullptr;  // the callback or the window title, where the call takes one
    unsigned compiling = 0;    // the display list the call went into, 0 if it took effect at once
};

// Starts or stops recording; Reset() stops it and empties the log.
void RecordCalls(bool on);

// Every call since recording started, in the order made. Display lists
// that run add nothing: their calls are logged once, as they are compiled.
const std::vector<Call>& CallLog();

}  // namespace capture
