#pragma once

#include <cstdint>
#include <limits>

#include "engine/error.h"

namespace tolvane {

// Positions, counters and the entry count are 16-bit signed; every
// conversion and step is checked and raises OverflowError instead of wrapping.
using Short = std::int16_t;

constexpr Short ToShort(std::int64_t value) {
    if (value < std::numeric_limits<Short>::min() || value > std::numeric_limits<Short>::max()) {
        throw OverflowError();
    }
    return static_cast<Short>(value);
}

constexpr Short CheckedAdd(Short a, Short b) { return ToShort(std::int64_t{a} + std::int64_t{b}); }

constexpr Short CheckedSubtract(Short a, Short b) {
    return ToShort(std::int64_t{a} - std::int64_t{b});
}

}  // namespace tolvane
