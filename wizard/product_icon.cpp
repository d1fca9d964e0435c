#include "product_icon.h"

#include <cmath>

namespace zov {

namespace {

ui::Icon draw() {
  ui::Icon icon;
  icon.width = icon.height = 32;
  icon.pixels.assign(32 * 32, 0x00000000);
  auto put = [&](int x, int y, std::uint32_t argb) { icon.pixels[static_cast<std::size_t>(y * 32 + x)] = argb; };
  for (int y = 3; y < 29; ++y) {
    for (int x = 1; x < 31; ++x) {
      // The film: dark grey with sprocket holes along the top and bottom edges.
      const bool edge = y < 7 || y > 24;
      const bool hole = edge && (x % 4 == 1 || x % 4 == 2) && (y == 4 || y == 5 || y == 26 || y == 27);
      put(x, y, hole ? 0xFFE8E8E8 : (edge ? 0xFF202020 : 0xFF3A3A48));
    }
  }
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const double d = std::hypot(x - 15.5, y - 15.5);
      if (d < 7.5) put(x, y, d < 5.0 && x < 15 && y < 14 ? 0xFFFF7070 : 0xFFD01010);  // lit edge top left
      else if (d < 8.5) put(x, y, 0xFF600000);
    }
  }
  return icon;
}

}  // namespace

const ui::Icon& ProductIcon() {
  static const ui::Icon icon = draw();
  return icon;
}

}  // namespace zov
