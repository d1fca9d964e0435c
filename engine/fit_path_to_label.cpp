#include "engine/fit_path_to_label.h"

#include <cmath>
#include <cstdint>

#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"

namespace zov {

namespace {

using runtime::Len;
using runtime::Trim;

constexpr int kScaleTwips = 1;

// To the nearest whole number, a half to the even neighbour.
std::int64_t nearest(double value) { return static_cast<std::int64_t>(std::nearbyint(value)); }

}  // namespace

std::string FitPathToLabel(const std::string& Path, const ui::Form& Frm, const ui::Label& Lbl) {
  if (Trim(Path).empty()) return "";
  const bool twips = Frm.ScaleMode == kScaleTwips;
  const double twipsPerPixel = ui::Screen.TwipsPerPixelX();
  const double labelWidth = Lbl.Width.get();
  const std::int64_t room = nearest(twips ? labelWidth / twipsPerPixel : labelWidth);
  auto width = [&](const std::string& text) {
    const std::int64_t w = nearest(Frm.TextWidth(text));
    return twips ? nearest(static_cast<double>(w) / twipsPerPixel) : w;
  };

  if (width(Path) <= room) return Path;
  // "\" is one byte in UTF-8 and never part of another character.
  const auto slash = Path.rfind('\\');
  if (slash == std::string::npos) return Path;
  const std::string name = Path.substr(slash + 1);
  std::string folder = Path.substr(0, slash);
  if (width(name) >= room) return name;

  const std::string tail = "...\\" + Trim(name);
  // A folder part shorter than the first cut is cut to nothing.
  folder = runtime::Left(folder, Len(folder) >= 3 ? Len(folder) - 3 : 0);
  std::string candidate = Trim(folder) + tail;
  while (width(candidate) >= room && Len(folder) >= 2) {
    folder = runtime::Left(folder, Len(folder) - 1);
    candidate = Trim(folder) + tail;
  }
  return candidate;
}

}  // namespace zov
