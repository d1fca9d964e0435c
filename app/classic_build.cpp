// The Windows XP build: no manifest.
#include "services/build_identity.h"

namespace zov {
const std::string& VersionLabel() {
  static const std::string label = "Version 5.2.6 XP";
  return label;
}
}  // namespace zov
