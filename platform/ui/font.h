#pragma once

#include <string>

namespace zov::ui {

struct Font {
  std::string name = "MS Sans Serif";
  float size = 9.75f;  // points
  bool bold = false;
};

inline Font smallFont() { return Font{"MS Sans Serif", 8.25f, false}; }

}  // namespace zov::ui
