#pragma once

// The display callback of the antialiasing, jitter and trail modes: several
// passes through the accumulation buffer, averaged into the window.
void accumDisplay();
// What accumDisplay draws, returned into the back buffer but not shown.
void accumulateView();
