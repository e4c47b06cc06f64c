#pragma once

// Assertions of internal invariants (a map and its index agree, identifiers are unique, a cell
// lies inside the grid). They are checked in builds without NDEBUG, the sanitizer build among
// them, and cost nothing in release builds. A failed assertion is a bug: it names the
// condition and where it is, and aborts.

#include <cstdio>
#include <cstdlib>

#ifdef NDEBUG
#define QUARRANT_ASSERT(condition) static_cast<void>(0)
#else
#define QUARRANT_ASSERT(condition)      \
    ((condition) ? static_cast<void>(0) \
                 : ::quarrant::AssertionFailed(#condition, __FILE__, __LINE__))
#endif

namespace quarrant {

[[noreturn]] inline void AssertionFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: assertion failed: %s\n", file, line, condition);
    std::abort();
}

}  // namespace quarrant
