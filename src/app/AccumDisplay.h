#pragma once

// The display callback of the antialiasing, jitter and trail modes: several
// passes through the accumulation buffer, averaged into the window.
void accumDisplay();
// What accumDisplay draws, returned into the back buffer but not shown.
void accumulateView();
// One frame of the whole-logo motion with the antialiasing and jitter passes
// (a single frame has no trail), returned into the back buffer.
void accumulateMotionFrame(unsigned frame);
