#pragma once

#include <cstdint>

namespace zov {

// The primary-language part of a Windows language id (the id And &H3FF).
std::int32_t PrimaryLangId(std::int32_t langId);

}  // namespace zov
