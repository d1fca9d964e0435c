// The one place where the running Windows is classified.
#pragma once

#include <cstdint>

namespace zov {

// 4 NT 6.x (Vista, 7); 3 NT 5.x and NT 7 or later; 2 NT before 5;
// 1 Windows 95/98/Me; 0 anything else or a failed query.
std::uint8_t GetOsCode();

}  // namespace zov
