#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace knitcfg {

// A growable list of 16-bit values: actuator identifiers, color and line
// numbers, block values, remap values. Operations that fill one append to it
// and never clear it.
using IndexList = std::vector<short>;

// A growable array of 8-bit strings.
using StringArray = std::vector<std::string>;

// A growable array of 32-bit unsigned integers.
using UIntArray = std::vector<std::uint32_t>;

// "No value" for 16-bit actuator fields and actuator queries.
constexpr short kNoValue = -32768;

// "Any" as a plane, color or line argument of a query.
constexpr short kAny = -1;

}  // namespace knitcfg
