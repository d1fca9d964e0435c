// The install routine's progress scheme: step 0 before the first slot, one
// step after each of the 57 slots, one after the AVI repair, one after the
// shortcuts.
#pragma once

#include <cstdint>

namespace zov {

inline constexpr std::int32_t kStepCount = 59;

// The whole percent of a step, rounded to the nearest (no step falls on a half).
std::int32_t StepPercent(std::int32_t step);

}  // namespace zov
