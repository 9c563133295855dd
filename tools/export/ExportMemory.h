#pragma once

#include <malloc.h>

// The exporter's steps each fill large buffers (the captured drawing, the
// mesh, the file's bytes) and free the one before. By default the C library
// hands large blocks back to the kernel on free and asks for fresh ones,
// and every fresh page costs a fault and a clearing, which on virtual
// machines took a third of the export's time. Kept, freed memory serves
// the next step.
inline void KeepFreedMemory() {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest the library accepts
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
}
