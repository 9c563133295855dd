#pragma once

// The display callback of the antialiasing, jitter and trail modes: several
// passes through the accumulation buffer, averaged into the window.
void accumDisplay();
