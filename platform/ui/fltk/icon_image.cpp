#include "platform/ui/fltk/icon_image.h"

namespace zov::ui::fltk {

std::unique_ptr<Fl_RGB_Image> iconImage(const Icon& icon) {
  const auto count = static_cast<std::size_t>(icon.width) * static_cast<std::size_t>(icon.height);
  if (icon.empty() || icon.width <= 0 || icon.height <= 0 || icon.pixels.size() < count) return nullptr;
  auto* bytes = new uchar[count * 4];
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t p = icon.pixels[i];
    bytes[i * 4 + 0] = static_cast<uchar>(p >> 16);
    bytes[i * 4 + 1] = static_cast<uchar>(p >> 8);
    bytes[i * 4 + 2] = static_cast<uchar>(p);
    bytes[i * 4 + 3] = static_cast<uchar>(p >> 24);
  }
  auto image = std::make_unique<Fl_RGB_Image>(bytes, icon.width, icon.height, 4);
  image->alloc_array = 1;  // the image frees the bytes
  return image;
}

}  // namespace zov::ui::fltk
