#pragma once

#include <cstdio>
#include <cstdlib>

namespace tolvane::fuzzing {

// Stops the run on a broken promise, so that libFuzzer keeps the input.
inline void Require(bool holds, const char* promise) {
    if (holds) return;
    std::fprintf(stderr, "Broken: %s\n", promise);
    std::abort();
}

}  // namespace tolvane::fuzzing
