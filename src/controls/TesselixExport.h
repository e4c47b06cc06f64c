#pragma once

// Symbols of Tesselix are hidden unless marked with TESSELIX_EXPORT.
#if defined(TESSELIX_BUILDING)
#define TESSELIX_EXPORT __attribute__((visibility("default")))
#else
#define TESSELIX_EXPORT
#endif
